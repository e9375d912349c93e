#pragma once

#include <optional>
#include <string>

#include "jobs/job_files.h"
#include "platform/file_system.h"

namespace zelmar::jobs {

// How far a job got before the program stopped: its lines were being sent, or its closing
// line (the payment) was about to be sent.
enum class InFlightStage { kLines, kClosing };

struct InFlightRecord {
    InFlightStage stage = InFlightStage::kLines;
    std::string query;        // the command whose answer tells the document number ("9", "X")
    std::string jobDigest;    // of SR_DATI when the job started; tells an old job from a new one
};

// A small file beside a slot's job files that says a job is on its way to the register, so
// that a crash or a power cut never leaves the POS application without an answer: at the next
// start-up the job is settled from what the register shows. Written atomically; removed when
// the job's result files are written.
class InFlightMarker {
  public:
    InFlightMarker(JobFiles& jobFiles, platform::FileSystem& files);

    void Record(int slot, InFlightStage stage, const std::string& query);
    std::optional<InFlightRecord> Read(int slot);
    void Clear(int slot);
    // True when SR_DATI of the slot is the job the marker was written for (or is gone: the
    // job ended and only its marker was left).
    bool SameJob(int slot, const InFlightRecord& record);

  private:
    std::string JobDigest(int slot);

    JobFiles& jobFiles_;
    platform::FileSystem& files_;
};

}  // namespace zelmar::jobs
