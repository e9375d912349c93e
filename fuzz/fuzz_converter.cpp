// Arbitrary bytes as a job file through the whole converter, in a temporary data folder. The
// first byte ticks the conversion options, so the keystroke path is reached as well.
#include <unistd.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/session.h"
#include "common/text_file.h"
#include "common/trace_sink.h"
#include "convert/converter.h"

namespace {

class NullTraceSink : public zelmar::TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

const std::string& DataFolder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("zelmar_fuzz_converter_" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);  // relative READ names stay in here too
        return path.string();
    }();
    return folder;
}

// A READ line names the file it creates; with a folder separator that name could point
// anywhere on this machine, so a job with such a line is not run.
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
    session.options.chbConvXonXoff = (flags & 1) != 0;
    session.options.chbPrintCode = (flags & 2) != 0;
    session.options.chbDisableExtDescr = (flags & 4) != 0;
    session.options.chbNFIntestazione = (flags & 8) != 0;
    session.reg().IsRtRegister = (flags & 16) != 0;
    session.reg().ModelCode = (flags & 32) != 0 ? "TN" : "AA";
    std::string path = session.DataFolder + "/SR_DATI.001";
    if (!zelmar::WriteBytes(path, job)) return 0;
    NullTraceSink trace;
    zelmar::convert::Converter converter(session, trace);
    converter.ConvertJobFile(path);
    return 0;
}
