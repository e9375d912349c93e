#pragma once

#include <string>

#include "common/session.h"
#include "jobs/job_files.h"
#include "link/command_sender.h"
#include "link/transmission.h"
#include "platform/file_system.h"

namespace zelmar::link {

// The read's progress in the window's register message line.
inline constexpr const char* kTextReading = "Lettura dati IVA e REPARTI da ECR in corso ...";
inline constexpr const char* kTextReadDone = "LETTURA DATI IVA E REPARTI DA ECR COMPLETATA";
inline constexpr const char* kTextReadError = "ERRORE nella lettura dati IVA e REPARTI da ECR";

// What a register-data read came to.
enum class ReadOutcome { kOk, kFailed };

// Reads the register's identity and tables for Session::CurrentSlot, publishes that slot's
// SR_MATR (or E501) and keeps what the converter needs in the slot's register data. The job
// cycle does the rest of the bookkeeping (job files, status texts, the port).
class RegisterReader {
  public:
    RegisterReader(Session& session, CommandSender& sender, platform::FileSystem& files,
                   jobs::JobFiles& jobFiles);

    void setTraceFileControl(TraceFileControl* control);  // not owned; may be null

    // The whole read, with the link already open. SR_MATR or E501 is written; the job cycle
    // keeps its own bookkeeping around the call.
    ReadOutcome ReadRegisterData();

    bool ReadRegisterInfo();  // "v": firmware, department count, highest operator
    bool ReadVatRates();      // "e" after the twenty "{/m/" commands
    bool ReadDepartments();   // ":/d": VAT rate and nature of every department

  private:
    // Ends the read with the answer to "a" and the outcome: SR_MATR or E501, the model.
    void PublishOutcome(const std::string& answerToA, ReadOutcome outcome);
    void WriteMatrFile(const std::string& serial);
    ReadOutcome ReadIdentity(std::string& answerToA);
    void ReadTables(ReadOutcome& outcome);
    SendResult Send(const std::string& command);

    Session& session_;
    CommandSender& sender_;
    platform::FileSystem& files_;
    jobs::JobFiles& jobFiles_;
    TraceFileControl* traceFiles_ = nullptr;
    int slot_ = 0;  // the slot being read
};

// The model code the conversion works with (ModelTraits::convertedAs).
std::string MapModelCode(const std::string& modelCode);

// The 11-character serial of an RT register: characters 1-2 of the serial, the model's type
// letter (ModelTraits::serialTypeLetter), the model code, characters 3-8.
std::string RtSerialNumber(const std::string& serial, const std::string& modelCode);

}  // namespace zelmar::link
