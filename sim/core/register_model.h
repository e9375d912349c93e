#pragma once

#include <string>
#include <vector>

#include "sim/core/command_journal.h"
#include "sim/core/register_config.h"

namespace ecrsim {

// Result codes the model itself gives (the register's own numbering).
namespace code {
inline constexpr int kAccepted = 0x00;
inline constexpr int kMissingFields = 0x01;
inline constexpr int kBadField = 0x04;
inline constexpr int kNotSupported = 0x06;
inline constexpr int kNoDepartment = 0x08;
inline constexpr int kWrongVat = 0x09;
inline constexpr int kNoOperator = 0x0A;
inline constexpr int kNoOpenDocument = 0x41;  // "There is not an open receipt.", class 2
}  // namespace code

inline constexpr int kFiscalDocumentOpen = 0x04;  // fiscal status bit 2

// One answer: the three status fields and the fields from index 3 on.
struct Answer {
    int resultCode = code::kAccepted;
    int deviceStatus = 0;
    int fiscalStatus = 0;
    std::vector<std::string> fields;

    // "RC/DS/FS/field3/.../": each status two upper-case hex digits, every field closed by "/".
    std::string text() const;
};

// The register's state and its answers. A command either is accepted (its effect applied,
// its line journaled, the answer carrying the fields the driver reads) or refused with a
// result code and no effect.
//
// Open-document rule, kept deliberately simple: a sale ("3"), an invoice opening ("3/F/...")
// or a refund document ("-") opens a document; payments ("5") close it once they cover the
// sales total or name no amount (the document number, and the invoice number for an invoice,
// then go up and the totals grow by the sales); a payment with no open document is refused;
// "+" cancels an open document.
class RegisterModel {
  public:
    explicit RegisterModel(RegisterConfig config = {});

    Answer execute(const std::string& commandLine);
    // An answer with the given status and the current fiscal status, no fields.
    Answer statusOnly(int resultCode, int deviceStatus) const;

    const RegisterConfig& config() const { return config_; }
    bool documentOpen() const { return config_.documentOpen; }
    CommandJournal& journal() { return journal_; }
    const CommandJournal& journal() const { return journal_; }

  private:
    Answer accepted(std::vector<std::string> fields = {}) const;
    Answer refused(int resultCode) const { return statusOnly(resultCode, 0); }
    Answer identification() const;
    Answer info() const;
    Answer vatRates() const;
    Answer department(const std::vector<std::string>& fields) const;
    Answer dateTime() const;
    Answer sale(const std::vector<std::string>& fields);
    Answer payment(const std::vector<std::string>& fields);
    Answer operatorLogin(const std::vector<std::string>& fields) const;
    void openDocument(bool invoice);
    void closeDocument(bool counted);

    RegisterConfig config_;
    CommandJournal journal_;
    bool invoiceOpen_ = false;
    long long receiptTotal_ = 0;  // hundredths of the open document's sales
    long long receiptPaid_ = 0;
};

}  // namespace ecrsim
