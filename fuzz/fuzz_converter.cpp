// Arbitrary bytes as a job file through the whole converter, in a scratch data folder that
// goes when the run ends. The first byte ticks the conversion options, so the keystroke path
// is reached as well.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/session.h"
#include "common/text_file.h"
#include "common/trace_sink.h"
#include "config/scratch_folder.h"
#include "convert/converter.h"

namespace {

class NullTraceSink : public zelmar::TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

const std::string& DataFolder() {
    static const zelmar::testing::ScratchFolder folder("fuzz_converter");
    return folder.path();
}

// A READ line names the file it creates, in the data folder; with a folder separator that
// name could point anywhere on this machine, so a job with such a line is not run.
bool ReadsOutsideDataFolder(const std::string& job) {
    std::string line;
    for (std::size_t i = 0; i <= job.size(); ++i) {
        if (i < job.size() && job[i] != '\r' && job[i] != '\n') {
            line += static_cast<char>(std::toupper(static_cast<unsigned char>(job[i])));
            continue;
        }
        if (line.find("READ") != std::string::npos &&
            line.find_first_of("/\\") != std::string::npos) {
            return true;
        }
        line.clear();
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t flags = data[0];
    const std::string job(reinterpret_cast<const char*>(data + 1), size - 1);
    if (ReadsOutsideDataFolder(job)) return 0;
    zelmar::Session session;
    session.DataFolder = DataFolder();
    session.options.KeystrokeInput = (flags & 1) != 0;
    session.options.PrintItemCode = (flags & 2) != 0;
    session.options.NoExtendedDescription = (flags & 4) != 0;
    session.options.NonFiscalHeading = (flags & 8) != 0;
    session.reg().IsRtRegister = (flags & 16) != 0;
    session.reg().ModelCode = (flags & 32) != 0 ? "TN" : "AA";
    std::string path = session.DataFolder + "/SR_DATI.001";
    if (!zelmar::WriteBytes(path, job)) return 0;
    NullTraceSink trace;
    zelmar::convert::Converter converter(session, trace);
    converter.ConvertJobFile(path);
    return 0;
}
