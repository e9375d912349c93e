#include "jobs/job_files.h"

#include <cstdio>

#include "common/paths.h"

namespace zelmar::jobs {

namespace {

// "dd/mm/yyyy hh:mm:ss", the short date and time of the deletion log.
std::string LogTimeStamp(const platform::LocalDateTime& now) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", now.day, now.month, now.year,
                  now.hour, now.minute, now.second);
    return text;
}

bool SlotValid(int slot) {
    return slot >= kFirstSlot && slot <= kLastSlot;
}

}  // namespace

JobFiles::JobFiles(Session& session, platform::FileSystem& files, platform::EventLoop& loop)
    : session_(session), files_(files), loop_(loop) {}

std::string JobFiles::SlotFile(const std::string& baseName, int slot) const {
    return DataFile(baseName + SlotExtension(slot));
}

std::string JobFiles::DataFile(const std::string& name) const {
    return JoinPath(session_.DataFolder, name);
}

bool JobFiles::CurrentSlotValid() const {
    return SlotValid(session_.CurrentSlot);
}

void JobFiles::setReplyLineProvider(std::function<std::string()> provider) {
    replyLine_ = std::move(provider);
}

void JobFiles::DeleteOnce(const std::string& fileName) {
    const std::string path = DataFile(fileName);
    if (files_.fileExists(path)) files_.removeFile(path);
}

bool JobFiles::DeleteWithRetry(const std::string& path, Pause pause) {
    for (int attempt = 1;; ++attempt) {
        if (!files_.fileExists(path) || files_.removeFile(path)) return true;
        if (attempt == kDeleteAttempts) return false;
        if (pause == Pause::kPumped) {
            platform::WaitMs(loop_, kDeleteRetryPauseMs);
        } else {
            loop_.sleepMs(kDeleteRetryPauseMs);
        }
    }
}

void JobFiles::LogDeletionFailure(const std::string& what) {
    LogLine("Errore nella Kill di " + what);
}

void JobFiles::LogLine(const std::string& text) {
    files_.writeLines(DataFile(kDeletionLogFile), {LogTimeStamp(loop_.localNow()) + " " + text},
                      true);
}

void JobFiles::setNoticeSink(std::function<void(const std::string&)> notice) {
    notice_ = std::move(notice);
}

void JobFiles::DeleteErrorFile() {
    if (!CurrentSlotValid()) return;
    if (!DeleteWithRetry(SlotFile(kErrFile, session_.CurrentSlot), Pause::kPlainSleep)) {
        LogDeletionFailure(kErrFile);
    }
}

void JobFiles::DeleteResultFile() {
    if (!CurrentSlotValid()) return;
    if (!DeleteWithRetry(SlotFile(kOutFile, session_.CurrentSlot), Pause::kPlainSleep)) {
        LogDeletionFailure(kOutFile);
    }
}

void JobFiles::DeleteJobFile() {
    if (!CurrentSlotValid()) return;
    DeleteWithRetry(SlotFile(kDatiFile, session_.CurrentSlot), Pause::kPlainSleep);
}

void JobFiles::AnswerJob(JobEnd end) {
    if (!CurrentSlotValid()) return;
    const int slot = session_.CurrentSlot;
    const std::string start = SlotFile(kStartFile, slot);
    if (!files_.fileExists(start)) return;
    DeleteWithRetry(start, Pause::kPlainSleep);
    if (end == JobEnd::kDone && !files_.writeBytes(SlotFile(kFinescoFile, slot), kFinescoContent)) {
        ReportWriteFailure(kFinescoFile + SlotExtension(slot));
    }
}

bool JobFiles::WriteErrorFile(const std::string& message, int slot) {
    if (!SlotValid(slot)) return false;
    std::vector<std::string> lines{message};
    if (session_.options.UseNetwork && replyLine_) lines.push_back(replyLine_());
    if (files_.writeLines(SlotFile(kErrFile, slot), lines, false)) return true;
    ReportWriteFailure(kErrFile + SlotExtension(slot) + ": " + message);
    return false;
}

void JobFiles::ReportWriteFailure(const std::string& what) {
    const std::string text = "Errore nella scrittura di " + what;
    LogLine(text);
    if (notice_) notice_(text);
}

void JobFiles::DeleteLogged(const std::string& path) {
    if (!DeleteWithRetry(path, Pause::kPumped)) LogDeletionFailure(path);
}

}  // namespace zelmar::jobs
