#include "sim/core/register_model.h"

#include <gtest/gtest.h>

namespace ecrsim {
namespace {

// Field n of the answer to `command`, counted as the driver counts them (3 is the first).
std::string Field(RegisterModel& model, const std::string& command, std::size_t n) {
    const Answer answer = model.execute(command);
    EXPECT_EQ(answer.resultCode, code::kAccepted) << command;
    return answer.fields.at(n - 3);
}

RegisterConfig SampleConfig() {
    RegisterConfig config;
    std::string error;
    for (const std::string setting :
         {"model=TN", "description=ECR TN DEMO", "serial=72001234", "rt=1", "firmware=RT 3.1 G1",
          "vat=22.00,10.00,4.00", "departments=4", "dept.2=2,0", "dept.4=3,5", "max_operator=6",
          "date=06122026", "time=1030", "document=7", "invoice=3", "closure=41", "day_total=12.50",
          "grand_total=1000.05"}) {
        const std::size_t equals = setting.find('=');
        EXPECT_TRUE(config.set(setting.substr(0, equals), setting.substr(equals + 1), error))
            << setting << ": " << error;
    }
    return config;
}

TEST(SimRegisterModel, AnswerFieldsOfReadCommands) {
    RegisterModel model(SampleConfig());
    struct Case {
        std::string command;
        std::size_t field;
        std::string expected;
    } cases[] = {
        {"a", 3, "72001234"},  {"a", 5, "TN"},     {"a", 6, "ECR TN DEMO"}, {",/10", 3, "1"},
        {"v", 3, "RT 3.1 G1"}, {"v", 7, "4"},      {"v", 9, "6"},           {"e", 3, "22.00"},
        {"e", 5, "4.00"},      {"e", 15, "0.00"},  {":/2", 4, "2"},         {":/4", 4, "3"},
        {":/4", 14, "5"},      {":/1", 14, "0"},   {"9", 8, "7"},           {"X", 6, "3"},
        {"t", 3, "06122026"},  {"t", 4, "103000"}, {"i", 5, "41"},          {"i", 7, "1000.05"},
        {"0", 8, "12.50"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Field(model, c.command, c.field), c.expected) << c.command << " " << c.field;
    }
}

TEST(SimRegisterModel, RefusalsCarryCodeAndHaveNoEffect) {
    RegisterModel model(SampleConfig());
    const std::pair<std::string, int> cases[] = {
        {":/5", code::kNoDepartment},
        {":/x", code::kNoDepartment},
        {"3/S/PANE//1/1.50/9/22.00", code::kNoDepartment},
        {"3/S/PANE//1/1.50/2/22.00", code::kWrongVat},  // department 2 is 10.00
        {"3/S/PANE//1/1,50/1/22.00", code::kBadField},
        {"3/S/PANE", code::kMissingFields},
        {"1/7", code::kNoOperator},
        {"5/1/1.00//////", code::kNoOpenDocument},
        {"", code::kNotSupported}};
    for (const auto& [command, resultCode] : cases) {
        const Answer answer = model.execute(command);
        EXPECT_EQ(answer.resultCode, resultCode) << command;
        EXPECT_TRUE(answer.fields.empty()) << command;
    }
    EXPECT_FALSE(model.documentOpen());
    EXPECT_TRUE(model.journal().lines().empty());
}

TEST(SimRegisterModel, ReceiptOpensAndClosesAndCounts) {
    RegisterModel model(SampleConfig());
    const auto open = [&](const char* line) {
        return model.execute(line).fiscalStatus == kFiscalDocumentOpen;
    };
    // Last receipt number, day total, grand total, last invoice number.
    const auto counters = [&] {
        return Field(model, "9", 8) + " " + Field(model, "0", 8) + " " + Field(model, "i", 7) +
               " " + Field(model, "X", 6);
    };
    EXPECT_FALSE(open("?"));
    EXPECT_TRUE(open("3/S/PANE//2/1.50/1/22.00"));
    EXPECT_TRUE(open("5/1/1.00//////"));  // part payment: still open, as every answer shows
    for (const char* read : {"9", "t", "a", "?"}) EXPECT_TRUE(open(read)) << read;
    EXPECT_FALSE(open("5/5/2.00//////") || open("9"));
    EXPECT_EQ(model.execute("5/5/2.00//////").resultCode, code::kNoOpenDocument);
    EXPECT_EQ(counters(), "8 15.50 1003.05 3");
    for (const char* line : {"3/F/OPENFAT//0/0/0/0", "3/S/PANE//1/1.00/1/22.00", "5/1/0//////"}) {
        model.execute(line);  // an invoice; a payment without amount settles the rest
    }
    EXPECT_EQ(counters(), "9 16.50 1004.05 4");
    model.execute("3/S/PANE//1/1.00/1/22.00");
    model.execute("+/");  // cancelled: no number, no total
    EXPECT_FALSE(model.documentOpen());
    EXPECT_EQ(counters(), "9 16.50 1004.05 4");
}

TEST(SimRegisterConfig, RejectsBadValuesAndKeepsTheSetUp) {
    const std::pair<std::string, std::string> cases[] = {
        {"model", "ABC"},    {"rt", "maybe"},     {"vat", "1,2,3,4,5,6,7,8,9,10,11,12,13,14"},
        {"dept.0", "1"},     {"dept.2", "1,2,3"}, {"date", "6122026"},
        {"time", "10:30"},   {"document", "-1"},  {"grand_total", "1.234"},
        {"serial", "12/34"}, {"colour", "red"}};
    RegisterConfig config;
    for (const auto& [key, value] : cases) {
        std::string error;
        EXPECT_FALSE(config.set(key, value, error)) << key << "=" << value;
        EXPECT_FALSE(error.empty());
    }
    RegisterModel model(config), untouched;
    for (const char* read : {"a", "e", "v", "i", ":/2"}) {
        EXPECT_EQ(model.execute(read).text(), untouched.execute(read).text()) << read;
    }
}

}  // namespace
}  // namespace ecrsim
