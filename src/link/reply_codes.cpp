#include "link/reply_codes.h"

#include <array>
#include <cctype>
#include <cstdint>

namespace zelmar::link {
namespace {

struct CodeEntry {
    const char* message;
    int actionClass;
};

// The register's result codes 1 to 89, in order. Texts are the register's own, byte for byte
// (Windows-1252: \x92 is the typographic apostrophe).
constexpr std::array<CodeEntry, 89> kCodeTable{{
    {"Campi del comando insufficienti", 2},                              // 1
    {"Presente campo/i comando in eccesso o troppo lungo", 2},           // 2
    {"Un campo del comando e' troppo corto", 2},                         // 3
    {"Controllare i campi del comando", 2},                              // 4
    {"Controllare i campi del comando", 2},                              // 5
    {"Comando non supportato", 2},                                       // 6
    {"Il PLU non esiste", 2},                                            // 7
    {"Il reparto non esiste", 2},                                        // 8
    {"Aliquota IVA errata, controllare corrispondenza IVA-Reparto", 2},  // 9
    {"Numero operatore inesistente", 2},                                 // 10
    {"Password operatore errata", 2},                                    // 11
    {"Pagamento inesistente", 2},                                        // 12
    {"The requested Fiscal record doesn\x92"
     "t exist",
     2},  // 13
    {"The requested Fiscal record type doesn\x92"
     "t exist",
     2},                                                                    // 14
    {"Printing type error", 2},                                             // 15
    {"Giornata aperta, effettuare azzeramento Z1", 2},                      // 16
    {"Disconnect Jumpers first", 2},                                        // 17
    {"Data-Ora errata", 2},                                                 // 18
    {"CAN NOT PERFORM SALES", 2},                                           // 19
    {"Scontrino fiscale aperto, chiudere scontrino.", 2},                   // 20
    {"Pagamento non valido", 2},                                            // 21
    {"Entrate - Prelievi in corso", 2},                                     // 22
    {"Aliquota IVA errata, controllare corrispondenza IVA-Reparto", 2},     // 23
    {"Errore prezzo", 2},                                                   // 24
    {"Protocollo ONLINE attivo", 2},                                        // 25
    {"Stampante Busy, reinviare il comando", 1},                            // 26
    {"Operazione di vendita non valida", 2},                                // 27
    {"Sconto - Aumento non valido", 2},                                     // 28
    {"Raggiunto limite massimo Programmazione Intestazioni scontrino", 9},  // 29
    {"Un report utente e' aperto", 2},                                      // 30
    {"Un report utente e' aperto", 2},                                      // 31
    {"The Fiscal Memory has no transactions", 2},                           // 32
    {"Numero Sconto-Aumento non valido", 2},                                // 33
    {"Raggiunto limite massimo PLU registrabili", 2},                       // 34
    {"Errore nell'invio dei dati BMP", 2},                                  // 35
    {"The BMP index number doesn\x92"
     "t exist",
     2},                                                         // 36
    {"Numero categoria inesistente", 2},                         // 37
    {"Printer ID index error", 2},                               // 38
    {"Error printing type", 2},                                  // 39
    {"Unit ID index error", 2},                                  // 40
    {"Impossibile effettuare ulteriori vendite", 2},             // 41
    {"Errore tastiera - Tastiera scollegata", 9},                // 42
    {"Problema batteria tampone", 9},                            // 43
    {"Carta finita", 4},                                         // 44
    {"Errore taglierina", 9},                                    // 45
    {"Stampante scollegata", 9},                                 // 46
    {"Stampante surriscaldata", 9},                              // 47
    {"Memoria fiscale scollegata", 9},                           // 48
    {"Fatal error", 9},                                          // 49
    {"Jumpers ancora inseriti. Rimuovere jumpers", 9},           // 50
    {"Portello rotolo aperto", 4},                               // 51
    {"Raggiunto limite massimo aliquote IVA programmabili", 9},  // 52
    {"No More Lines", 2},                                        // 53
    {"Tastiera errata", 2},                                      // 54
    {"No Ticket Discount", 2},                                   // 55
    {"Not Supported", 2},                                        // 56
    {"Access not allowed for current clerk", 2},                 // 57
    {"Wrong Baud Rate", 2},                                      // 58
    {"PLU Inattivo", 2},                                         // 59
    {"Giornale elettronico pieno", 9},                           // 60
    {"Valore troppo grande", 2},                                 // 61
    {"Invalid add/delete parameter", 2},                         // 62
    {"Department not enabled", 2},                               // 63
    {"Cannot open Drawer.", 2},                                  // 64
    {"There is not an open receipt.", 2},                        // 65
    {"Error in SD reports.", 2},                                 // 66
    {"Discount/Markup limit is exceeded.", 2},                   // 67
    {"Zero Discount/Markup.", 2},                                // 68
    {"Description is blank.", 2},                                // 69
    {"Wrong Key code.", 2},                                      // 70
    {"Client index error", 0},                                   // 71
    {"Wrong Client code.", 2},                                   // 72
    {"Out of limits bonus.", 2},                                 // 73
    {"Wrong Promotion link index.", 2},                          // 74
    {"WORD NOT ALLOWED (TOTALE)", 2},                            // 75
    {"Error in barcode data.", 2},                               // 76
    {"Change is not allowed for this Payment type.", 2},         // 77
    {"Must insert the payment amount.", 2},                      // 78
    {"Same Header lines.", 2},                                   // 79
    {"In Error Message.", 2},                                    // 80
    {"Not found SD data.", 2},                                   // 81
    {"There is no more data to read from SD.", 2},               // 82
    {"Set the limit to read SD data.", 2},                       // 83
    {"Negative Receipt total.", 2},                              // 84
    {"Receipt sales amount exceeded.", 2},                       // 85
    {"Daily sales amount exceeded.", 2},                         // 86
    {"The SD is full.", 9},                                      // 87
    {"The SD is old.", 9},                                       // 88
    {"Out of SD limit.", 9},                                     // 89
}};

constexpr int kFirstNumberedCode = 100;  // from here on the message is "Errore n. " & code
// A result code is two digits; more than eight cannot be a code and are not read further, so
// a garbled field cannot overflow.
constexpr std::size_t kMaxCodeDigits = 8;

int HexDigit(unsigned char c) {
    if (std::isdigit(c)) return c - '0';
    return std::toupper(c) - 'A' + 10;
}

// The leading hexadecimal digits of the trimmed text; 0 when there are none.
std::int64_t HexCode(const std::string& text) {
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    std::int64_t value = 0;
    for (std::size_t digits = 0; at < text.size() && digits < kMaxCodeDigits; ++at, ++digits) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (!std::isxdigit(c)) break;
        value = value * 16 + HexDigit(c);
    }
    return value;
}

}  // namespace

int ErrorMessage(std::string& code, std::string& message) {
    message.clear();
    const std::int64_t value = HexCode(code);
    code = std::to_string(value);
    if (value >= kFirstNumberedCode) {
        message = "Errore n. " + code;
        return kClassNone;
    }
    if (value < 1 || value > static_cast<std::int64_t>(kCodeTable.size())) return kClassNone;
    const CodeEntry& entry = kCodeTable[static_cast<std::size_t>(value - 1)];
    message = entry.message;
    return entry.actionClass;
}

}  // namespace zelmar::link
