#pragma once

#include <string>
#include <vector>

namespace ecrsim {

// One department as the register reports it: the number of its VAT rate (1-based) and, on an
// RT register, its VAT nature number (0 none).
struct Department {
    int vatCode = 1;
    int nature = 0;
};

// The register's set-up. Every value can be given as key=value (a line of a register file or
// a command-line option); see docs/SIMULATOR.md for the keys.
struct RegisterConfig {
    std::string model = "AB";
    std::string description = "ECRSIM AB";
    std::string serial = "72123456";
    bool rt = true;
    std::string firmware = "SIM 1.00";
    std::vector<std::string> vatRates{"22.00", "10.00", "5.00", "4.00", "0.00"};
    std::vector<Department> departments = DefaultDepartments(10);
    int maxOperator = 8;
    bool infoAltLayout = false;  // "v" reports 0 in field 7, the counts in fields 8 and 10
    std::string date;            // ddmmyyyy; empty: today
    std::string time;            // hhmmss; empty: now
    long documentNumber = 0;     // last document closed
    long invoiceNumber = 0;      // last invoice closed
    long closureNumber = 0;      // last daily closure
    long long dayTotal = 0;      // hundredths, since the last closure
    long long grandTotal = 0;    // hundredths
    bool documentOpen = false;   // start with a receipt open

    // Applies one key=value setting; false (and a message) for an unknown key or a bad value.
    bool set(const std::string& key, const std::string& value, std::string& error);

    static std::vector<Department> DefaultDepartments(int count);
};

// Amount text with a point before the last two digits ("1234.56", "-0.05").
std::string FormatAmount(long long hundredths);
// Parses "12.5", "12.50", "1250" (no point: whole units) into hundredths.
bool ParseAmount(const std::string& text, long long& hundredths);

}  // namespace ecrsim
