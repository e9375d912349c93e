// Arbitrary bytes as a job file through the refund discount rewrite, in a scratch folder that
// goes when the run ends.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "common/text_file.h"
#include "config/scratch_folder.h"
#include "convert/refund_rewrite.h"

namespace {

const std::string& JobPath() {
    static const zelmar::testing::ScratchFolder folder("fuzz_refund");
    static const std::string path = folder.file("SR_DATI.001");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!zelmar::WriteBytes(JobPath(), bytes)) return 0;
    zelmar::convert::RewriteRefundDiscounts(JobPath(), JobPath());
    // The job file is always there afterwards: rewritten or untouched, never lost.
    if (!std::filesystem::exists(JobPath())) __builtin_trap();
    return 0;
}
