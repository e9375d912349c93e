#include "app/main_form.h"

#include <utility>

namespace zelmar::app {

MainForm::MainForm(FormParts parts)
    : session_(parts.session),
      loop_(parts.loop),
      files_(parts.files),
      jobFiles_(parts.jobFiles),
      registers_(parts.registers),
      settings_(parts.settings),
      view_(parts.view),
      trace_(parts.trace),
      traceFiles_(parts.traceFiles),
      makeDirWatcher_(std::move(parts.makeDirWatcher)),
      inFlight_(parts.jobFiles, parts.files),
      pollTimer_(parts.loop.createTimer([this] { OnPollTick(); })) {}

MainForm::~MainForm() = default;

bool MainForm::SlotFileExists(const char* baseName, int slot) {
    return files_.fileExists(jobFiles_.SlotFile(baseName, slot));
}

}  // namespace zelmar::app
