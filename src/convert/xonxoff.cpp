#include "convert/xonxoff.h"

#include <filesystem>
#include <system_error>

#include "common/text_file.h"
#include "convert/job_file.h"
#include "convert/normalizer.h"
#include "convert/text_format.h"

namespace zelmar::convert {
namespace {

// What the keys typed since the last command line have set; lives for one keystroke string.
struct KeyState {
    std::string number;          // typed since the last key that consumed it
    std::string quantity;        // before "*"
    std::string price;           // before "H"
    std::string code;            // tender, barcode type, department, PLU, operator, function
    std::string clearNumber;     // before "#" or "O"
    std::string modifierNumber;  // before "M"
    std::string description;     // between double quotes
    std::string command;         // keyword (with fixed fields) to write
    bool tender = false;         // amounts go out as V
    bool modifier = false;       // discount or surcharge
    bool percent = false;        // the modifier takes a percentage
    bool subtotal = false;       // "SUBT" precedes the modifier line
    bool refund = false;         // the next department sale is a refund
    bool voidSale = false;       // the next department sale is a void
};

bool ValueIs(const std::string& text, double value) {
    return LeadingNumber(text) == value;
}

// Present and not the quantity 1, which is the register's default.
bool IsQuantity(const std::string& quantity) {
    return !quantity.empty() && !ValueIs(quantity, 1);
}

void ApplyTenderKey(KeyState& s) {
    if (s.code.empty()) return;
    s.tender = true;
    const double value = LeadingNumber(s.code);
    if (value == 1 || value == 2 || value == 3) {
        s.command = value == 1 ? "CASH" : value == 2 ? "CHEQ" : "CARD";
        s.code.clear();
    } else if (value > 3) {
        s.command = "TEND";
    }
}

void ApplyBarcodeKey(KeyState& s) {
    if (s.code.empty()) return;
    const double value = LeadingNumber(s.code);
    const char* symbology = value == 1                   ? "1"
                            : value == 2                 ? "2"
                            : (value == 3 || value == 4) ? "4"
                                                         : nullptr;
    if (symbology == nullptr) return;
    s.command = std::string("BARC,T") + symbology + ",H0,1234567890123";
    s.code.clear();
}

struct ModifierKey {
    int value;
    const char* command;
    bool percent;
    bool subtotal;
};
constexpr ModifierKey kModifierKeys[] = {
    {1, "DISC", true, false},  {2, "DOST", true, true},  {3, "COUP", false, false},
    {4, "COST", false, true},  {5, "MAGG", true, false}, {6, "MOST", true, true},
    {7, "ADDI", false, false}, {8, "ADDS", false, true},
};

void ApplyModifierKey(KeyState& s) {
    if (s.modifierNumber.empty()) return;
    const double value = LeadingNumber(s.modifierNumber);
    // 9 and 0 stay in the modifier number so that the next "R" sees them.
    if (value == 9) {
        s.refund = true;
    } else if (value == 0) {
        s.voidSale = true;
    } else if (value == 12) {
        s.command = "CRED";
    } else if (value == 13) {
        s.command = "RECO";
    } else {
        s.modifier = true;
        for (const auto& key : kModifierKeys) {
            if (value != key.value) continue;
            s.command = key.command;
            s.percent = key.percent;
            s.subtotal = key.subtotal;
            s.modifierNumber.clear();
        }
    }
}

// Applies one key of the key table; false when c is not such a key.
bool ApplyKey(char c, KeyState& s) {
    const std::string number = s.number;
    switch (c) {
        case '.':
            s.number += '.';
            return true;
        case '*':
            s.quantity = number;
            break;
        case 'H':
            s.price = number;
            break;
        case 'T':
            s.code = number;
            ApplyTenderKey(s);
            break;
        case 'Z':
            s.code = number;
            ApplyBarcodeKey(s);
            break;
        case '@':
            s.command = "PRNT";
            break;
        case '>':
            s.command = "DISP,,N1,C2";
            break;
        case 'O':
            s.code = s.clearNumber = number;
            s.command = "OPER";
            break;
        case 'F':
            s.code = number;
            s.command = "FUNC";
            break;
        case '#':
            s.clearNumber = number;
            s.command = "CLER";
            break;
        case 'M':
            s.modifierNumber = number;
            ApplyModifierKey(s);
            break;
        case 'R':
            s.command = "SALE";
            s.code = number;
            break;
        case 'P':
            s.command = "PLUI";
            s.code = number;
            break;
        default:
            return false;
    }
    s.number.clear();
    if (c == 'Z' && number.empty()) s.number = "Z";
    return true;
}

void Append(std::string& line, const char* key, const std::string& value) {
    if (!value.empty()) line += key + value;
}

std::string SaleLine(const KeyState& s) {
    std::string line = s.description.empty() ? "SALE" : "PLUD,C[1]";
    Append(line, ",N", s.code);
    Append(line, ",:", s.description);
    if (IsQuantity(s.quantity)) line += ",Q" + s.quantity;
    Append(line, ",P", s.price);
    if (!s.modifierNumber.empty() && s.refund) {
        line += ",R";
    } else if (!s.modifierNumber.empty() && s.voidSale) {
        line += ",S";
    }
    return line;
}

std::string CommandLine(const KeyState& s) {
    std::string line = s.command;
    Append(line, ",N", s.code);
    Append(line, ",:", s.description);
    if (!s.modifier && IsQuantity(s.quantity)) line += ",Q" + s.quantity;
    if (s.tender) {
        Append(line, ",V", s.price);
    } else if (s.modifier && s.percent) {
        if (IsQuantity(s.quantity)) line += ",%" + s.quantity;
    } else {
        Append(line, s.modifier ? ",V" : ",P", s.price);
    }
    return line;
}

void WriteCommand(const KeyState& s, std::vector<std::string>& out) {
    if (s.command == "SALE") {
        out.push_back(SaleLine(s) + ";");
    } else if (s.command == "CLER" || s.command == "OPER") {
        if (!s.clearNumber.empty()) out.push_back(s.command + ",C" + s.clearNumber + ";");
    } else {
        if (s.modifier && s.subtotal) out.push_back("SUBT;");
        out.push_back(CommandLine(s) + ";");
    }
}

}  // namespace

bool EmitFunctionKey(char key, std::vector<std::string>& out) {
    struct FunctionKey {
        char key;
        const char* line;
    };
    static constexpr FunctionKey kFunctionKeys[] = {
        {'a', "OPEN;"}, {'K', "CLEA;"}, {'j', "OPNF;"}, {'J', "CLNF;"}, {'=', "SUBT;"},
        {'c', "REGK;"}, {'z', "ZKEY;"}, {'y', "MGRK;"}, {'x', "XKEY;"},
    };
    for (const auto& functionKey : kFunctionKeys) {
        if (functionKey.key != key) continue;
        out.emplace_back(functionKey.line);
        return true;
    }
    return false;
}

void ParseXonXoffKeys(const std::string& keys, std::vector<std::string>& out) {
    KeyState state;
    bool inQuotes = false;
    for (const char c : keys) {
        if (c == '"') {
            if (!inQuotes) state.description.clear();
            inQuotes = !inQuotes;
        } else if (inQuotes) {
            state.description += c == ',' ? '.' : c;  // a comma would split the job line
        } else if (c == ' ' || EmitFunctionKey(c, out)) {
            continue;
        } else if (!ApplyKey(c, state)) {
            state.number += c;
        } else if (!state.command.empty()) {
            WriteCommand(state, out);
            state = KeyState{};
        }
    }
}

bool ConvertXonXoffFile(const std::string& inPath, const std::string& outPath) {
    std::error_code error;
    std::vector<std::string> lines;
    if (!ReadJobLines(inPath, lines) || lines.empty()) return false;
    std::filesystem::remove(outPath, error);
    std::string keys;
    for (const auto& line : lines) keys += line;
    std::vector<std::string> commands;
    ParseXonXoffKeys(keys, commands);
    const bool written = WriteTextLines(outPath, commands);
    return written && std::filesystem::exists(outPath, error);
}

}  // namespace zelmar::convert
