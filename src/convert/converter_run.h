#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/register_models.h"
#include "common/session.h"
#include "common/trace_sink.h"
#include "convert/keywords.h"

namespace zelmar::convert {

// Bounds-checked access by a 1-based number taken from a job or the register: nullptr when
// the number is outside the table.
template <typename Table>
const typename Table::value_type* ElementAt(const Table& table, long long oneBased) {
    if (oneBased < 1 || static_cast<unsigned long long>(oneBased) > table.size()) return nullptr;
    return &table[static_cast<std::size_t>(oneBased - 1)];
}

// One conversion run over the lines of a job: the pending/emit model. Each input line may
// build one pending command, which a later step of the same line replaces and which is
// appended when the line is finished; a command emitted at once goes ahead of it.
class JobRun {
  public:
    JobRun(Session& session, TraceSink& trace);

    // Converts the lines in order. False when the job must not be sent (a void with a
    // malformed document number, a lottery code that is not 8 characters long).
    bool Convert(const std::vector<std::string>& lines);
    const std::vector<std::string>& commands() const { return commands_; }

  private:
    void ProcessLine(const std::string& raw);
    void ProcessNormalised(const std::string& line);

    // Receipts, sales, discounts, display and print lines.
    void FunctionKey(const std::string& line);
    void SignOn(const std::string& line);
    void OpenNonFiscal();
    void ReadRequest(const std::string& line);
    void OpenCommand(const std::string& line);
    void CloseInvoice();
    void Sale(const std::string& line, Keyword keyword);
    std::string SaleKind(const std::string& line) const;
    std::string SaleDescription(const std::string& line, Keyword keyword) const;
    std::string DescriptionFields(const std::string& description, bool shifted) const;
    std::string DepartmentFields(const std::string& line) const;
    std::string DepartmentFieldsOf(const std::string& number, long long department) const;
    void ArticleCode(const std::string& line);
    void Adjustment(const std::string& line, Keyword keyword);
    void DisplayLine(const std::string& line);
    void PrintLine(const std::string& line);
    bool NextLineIsFiscalCodeRequest() const;
    void CodeLine(const std::string& line);

    // Payments, customer heading and barcodes.
    void Payment(const std::string& line, Keyword keyword);
    std::optional<std::string> PaymentCommand(const std::string& line, Keyword keyword) const;
    std::string CreditPaymentNumber(const std::string& line) const;
    std::optional<std::string> OtherPaymentNumber(const std::string& line) const;
    void Heading();
    void Barcode(const std::string& line);

    // Invoices, customer data, refunds, voids and codes.
    void OpenInvoice(const std::string& line);
    void CustomerLine(const std::string& line);
    void Refund(const std::string& line);
    void RtRefund(const std::string& line);
    void Void(const std::string& line);
    std::optional<std::string> OriginFields(const std::string& origin);
    void Lottery(const std::string& line);
    void CustomerFiscalCode(const std::string& code);
    bool IsSameRegister(const std::string& serial) const;

    std::optional<std::string> Field(const std::string& line, std::string_view key) const;
    void Emit(const std::string& command) { commands_.push_back(command); }

    Session& session_;
    TraceSink& trace_;
    const RegisterData& reg_;
    const ModelTraits model_;  // of reg_
    const Options& options_;
    ConversionState& conv_;

    const std::vector<std::string>* lines_ = nullptr;
    std::size_t index_ = 0;
    std::vector<std::string> commands_;
    std::string pending_;

    bool salesStarted_ = false;
    bool headerPending_ = false;
    bool tenderDone_ = false;
    bool zKeyNoted_ = false;
    bool ownDocumentVoided_ = false;
    bool stopped_ = false;  // a READ line ends the job's lines
    bool failed_ = false;
    std::string refundOriginSerial_;
};

}  // namespace zelmar::convert
