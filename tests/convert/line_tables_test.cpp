// Walks the line tables in line_tables/*.txt, whose syntax is the golden cases': normalize.txt,
// canonical.txt, formats.txt and checks.txt pair each job line with the expected line; in
// xonxoff.txt a case's job line is the keys and its expected lines are all the command lines they
// write; fields.txt says its own.
#include <gtest/gtest.h>

#include "convert/converter_test_support.h"
#include "convert/field_lookup.h"
#include "convert/fiscal_checks.h"
#include "convert/normalizer.h"
#include "convert/text_format.h"
#include "convert/xonxoff.h"

namespace zelmar::convert::testing {
namespace {

constexpr int kDescriptionWidth = 60;  // what the converter passes

// What a line of the one-to-one tables (normalize, canonical, formats, checks) becomes.
std::string OneToOne(const GoldenCase& table, const std::string& line) {
    const auto has = [&](const char* file) { return table.name.rfind(file, 0) == 0; };
    if (has("canonical.txt")) return CanonicalNumber(line);
    if (has("formats.txt")) {
        const std::string& format = table.setup.at("format");
        if (format == "date") return DateWithCentury(line);
        return format == "amount" ? FormatAmount(line) : DocumentNumberFields(line);
    }
    if (has("checks.txt")) {
        const bool fiscalCode = table.setup.at("check") == "fiscal code";
        return (fiscalCode ? CheckCodiceFiscale(line) : CheckPartitaIva(line)) ? "valid"
                                                                               : "invalid";
    }
    return NormalizeCommandLine(line, kDescriptionWidth);
}

TEST(LineTables, EveryLineGivesItsExpectedLines) {
    const auto cases = GoldenCases("line_tables");
    ASSERT_FALSE(cases.empty());
    for (const auto& table : cases) {
        SCOPED_TRACE(table.name);
        if (table.name.rfind("fields.txt", 0) == 0) {
            const auto keyword = table.setup.find("keyword");
            const bool isField = keyword == table.setup.end();
            const std::string key = isField ? table.setup.at("field") : keyword->second;
            std::string value = "before";
            const bool found = FindField(isField ? FieldMode::kField : FieldMode::kKeyword, value,
                                         table.job.at(0), key, table.setup.count("invoice") != 0);
            const std::string outcome = found ? "found" : "not found";
            EXPECT_EQ(isField ? outcome + "=" + value : outcome, table.expected.at(0));
            if (!isField) {
                EXPECT_EQ(HasKeyword(table.job[0], key), found);
            }
            continue;
        }
        if (table.name.rfind("xonxoff.txt", 0) == 0) {
            ASSERT_EQ(table.job.size(), 1u);
            std::vector<std::string> lines;
            ParseXonXoffKeys(table.job[0], lines);
            EXPECT_EQ(lines, table.expected);
            continue;
        }
        ASSERT_EQ(table.job.size(), table.expected.size());
        for (std::size_t i = 0; i < table.job.size(); ++i) {
            EXPECT_EQ(OneToOne(table, table.job[i]), table.expected[i]) << table.job[i];
        }
    }
}

}  // namespace
}  // namespace zelmar::convert::testing
