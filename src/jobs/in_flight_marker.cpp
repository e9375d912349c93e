#include "jobs/in_flight_marker.h"

#include <cstdint>
#include <vector>

#include "common/paths.h"

namespace zelmar::jobs {
namespace {

constexpr const char* kStageLines = "LINES";
constexpr const char* kStageClosing = "CLOSING";

// FNV-1a over the job's lines: enough to tell the job a marker belongs to from a new one.
std::string Digest(const std::vector<std::string>& lines) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const auto& line : lines) {
        for (const char c : line + "\n") {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
    return std::to_string(hash);
}

}  // namespace

InFlightMarker::InFlightMarker(JobFiles& jobFiles, platform::FileSystem& files)
    : jobFiles_(jobFiles), files_(files) {}

void InFlightMarker::Record(int slot, InFlightStage stage, const std::string& query) {
    const std::string path = jobFiles_.SlotFile(kInFlightFile, slot);
    // Before the payment the record keeps the digest taken when the job's first line went.
    const auto earlier = stage == InFlightStage::kClosing ? Read(slot) : std::nullopt;
    const std::string digest = earlier ? earlier->jobDigest : JobDigest(slot);
    const bool written = files_.replaceLinesAtomically(
        path, {stage == InFlightStage::kClosing ? kStageClosing : kStageLines, query, digest});
    if (!written) jobFiles_.ReportWriteFailure(kInFlightFile + SlotExtension(slot));
}

std::optional<InFlightRecord> InFlightMarker::Read(int slot) {
    std::vector<std::string> lines;
    const std::string path = jobFiles_.SlotFile(kInFlightFile, slot);
    if (!files_.fileExists(path) || !files_.readLines(path, lines) || lines.size() < 3) {
        return std::nullopt;
    }
    InFlightRecord record;
    record.stage = lines[0] == kStageClosing ? InFlightStage::kClosing : InFlightStage::kLines;
    record.query = lines[1] == "X" ? "X" : "9";
    record.jobDigest = lines[2];
    return record;
}

void InFlightMarker::Clear(int slot) {
    jobFiles_.DeleteOnce(kInFlightFile + SlotExtension(slot));
}

bool InFlightMarker::SameJob(int slot, const InFlightRecord& record) {
    const std::string dati = jobFiles_.SlotFile(kDatiFile, slot);
    return !files_.fileExists(dati) || JobDigest(slot) == record.jobDigest;
}

std::string InFlightMarker::JobDigest(int slot) {
    std::vector<std::string> lines;
    files_.readLines(jobFiles_.SlotFile(kDatiFile, slot), lines);
    return Digest(lines);
}

}  // namespace zelmar::jobs
