#include "link/register_reader.h"

#include <gtest/gtest.h>

#include <map>

#include "common/text_file.h"
#include "common/version_text.h"
#include "link/link_rig.h"

namespace zelmar::link::testing {
namespace {

std::string Fields(std::size_t count, const std::map<std::size_t, std::string>& values) {
    std::vector<std::string> fields(count, "0");
    fields[0] = fields[1] = fields[2] = "00";
    for (const auto& [index, value] : values) fields[index] = value;
    std::string text;
    for (const auto& field : fields) text += field + "/";
    return text;
}

class RegisterReaderTest : public ::testing::Test, public RigBase {
  protected:
    RegisterReaderTest() {
        session.CurrentSlot = 2;
        session.texts.WindowShown = true;
        Identity("12345678", "AB", false);
        sender.script("v", {Accepted("00/00/00/REV 3.2/0/0/0/3/0/6/0/0/")});
        sender.script("e", {Accepted("00/00/00/2200/1000/0400/0500/0000/0600/0/0/0/0/0/0/0/")});
        for (int d = 1; d <= 3; ++d) Department(d, std::to_string(d), "0");
        WriteTextLines(folder.file("SR_START.002"), {"x"});
    }

    void Identity(const std::string& serial, const std::string& model, bool rt) {
        sender.script("a", {Accepted(Fields(8, {{3, serial}, {5, model}, {6, "ecr desc"}}))});
        sender.script(",/10", {Accepted(Fields(5, {{3, rt ? " 1 " : "0"}}))});
    }
    void Department(int d, const std::string& vatCode, const std::string& nature) {
        sender.script(":/" + std::to_string(d),
                      {Accepted(Fields(16, {{4, vatCode}, {14, nature}}))});
    }

    ScriptedSender sender{session};
    RegisterReader reader{session, sender, files, jobFiles};
};

TEST_F(RegisterReaderTest, SuccessfulReadPublishesMatrAndReadsTheTablesOnce) {
    ASSERT_EQ(reader.ReadRegisterData(), ReadOutcome::kOk);
    Lines expected{"a", ",/10", "v"};
    for (int m = 1; m <= 20; ++m) expected.push_back("{/" + std::to_string(m) + "/");
    expected.insert(expected.end(), {"e", ":/1", ":/2", ":/3"});
    EXPECT_EQ(sender.sent, expected);
    EXPECT_EQ(folder.read("SR_MATR.002"),
              "12345678\r\nStatus: MF\r\nDriverType: Micrelec\r\nVersione: " + VersionText() +
                  "\r\nFW: REV 3.2\r\n");
    EXPECT_EQ(session.reg().DeptVat, (Lines{"2200", "1000", "0400", "0"}));
    EXPECT_EQ(session.texts.RegisterMessage, "LETTURA DATI IVA E REPARTI DA ECR COMPLETATA");
    EXPECT_FALSE(folder.has("SR_ERR.002"));
    EXPECT_TRUE(folder.has("SR_START.002"));  // a good read leaves the job files alone
    sender.sent.clear();
    ASSERT_EQ(reader.ReadRegisterData(), ReadOutcome::kOk);
    EXPECT_EQ(sender.sent, (Lines{"a", ",/10"}));
}

TEST_F(RegisterReaderTest, RegisterInfoFields) {
    const struct {
        std::map<std::size_t, std::string> fields;
        int deptCount, maxOperator;
    } cases[] = {
        {{{7, "12"}, {8, "30"}, {9, "5"}, {10, "9"}}, 12, 5},  // count in field 7
        {{{7, "0"}, {8, "30"}, {9, "5"}, {10, "9"}}, 30, 9},   // field 7 zero: 8 and 10
        {{{7, "99999999"}, {9, "5"}}, 999, 5},                 // bounded
    };
    for (const auto& c : cases) {
        sender.script("v", {Accepted(Fields(11, c.fields))});
        EXPECT_TRUE(reader.ReadRegisterInfo());
        EXPECT_EQ(session.reg().DeptCount, c.deptCount);
        EXPECT_EQ(session.reg().MaxOperator, c.maxOperator);
    }
    // Field 7 zero, field 10 missing: the defaults stay.
    sender.script("v", {Accepted(Fields(9, {{7, "0"}}))});
    EXPECT_FALSE(reader.ReadRegisterInfo());
    EXPECT_EQ(session.reg().DeptCount, 10);
}

TEST_F(RegisterReaderTest, VatRateCountFollowsTheFirmware) {
    std::map<std::size_t, std::string> rates;
    for (std::size_t i = 0; i < 13; ++i) rates[i + 3] = "R" + std::to_string(i);
    sender.script("e", {Accepted(Fields(17, rates))});
    for (const auto& [firmware, count] : {std::pair{"REV G1", 12}, {"REV G2", 5}}) {
        SCOPED_TRACE(firmware);
        session.reg().VatRates.assign(13, "");
        session.reg().FirmwareRevision = firmware;
        ASSERT_TRUE(reader.ReadVatRates());
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(session.reg().VatRates[i], i < count ? rates[i + 3] : "");
    }
    session.reg().FirmwareRevision = "REV G1";
    sender.script("e", {Accepted(Fields(13, {{3, "R0"}}))});
    EXPECT_FALSE(reader.ReadVatRates());
}

TEST_F(RegisterReaderTest, DepartmentVatAndNature) {
    session.reg().DeptCount = 4;
    session.reg().VatRates = {"2200", "1000", "0400", "0500"};
    session.reg().VatRates.resize(13);
    session.reg().IsRtRegister = true;
    Department(1, "2", "3");
    Department(2, "0", "1");   // no such VAT code
    Department(3, "99", "2");  // beyond the table
    Department(4, "4", "x");
    EXPECT_TRUE(reader.ReadDepartments());
    EXPECT_EQ(session.reg().DeptVat, (Lines{"1000", "0", "0", "0500", "0"}));
    EXPECT_EQ(session.reg().DeptNature, (std::vector<int>{3, 1, 2, 0, 0}));
}

TEST_F(RegisterReaderTest, ARefusedCommandFailsTheReadWithE501) {
    for (const auto& [refused, sent] :
         {std::pair{"a", Lines{"a"}},
          {":/2", Lines{"a", ",/10", "v", "e", ":/1", ":/2", ":/3", ":/1", ":/2", ":/3"}}}) {
        SCOPED_TRACE(refused);
        Identity("12345678", "AB", false);
        sender.script(refused, {Refused()});
        sender.sent.clear();
        EXPECT_EQ(reader.ReadRegisterData(), ReadOutcome::kFailed);
        std::erase_if(sender.sent, [](const std::string& c) { return c[0] == '{'; });
        EXPECT_EQ(sender.sent, sent);  // a failed table is read once more
        EXPECT_FALSE(folder.has("FINESCO.002") || folder.has("SR_MATR.002"));
        EXPECT_TRUE(folder.has("SR_START.002"));  // the job cycle answers the job, once
        EXPECT_EQ(session.texts.RegisterMessage, "ERRORE nella lettura dati IVA e REPARTI da ECR");
        EXPECT_FALSE(session.reg().TablesRead);
    }
    EXPECT_EQ(session.reg().DeptVat[1], "0");
    EXPECT_EQ(session.reg().DeptNature[1], 0);
}

TEST_F(RegisterReaderTest, RtSerialAndModelMapping) {
    const struct {
        const char *serial, *model;
        bool rt;
        std::string matrSerial;
        const char* modelAfter;
    } cases[] = {
        {"1234567", "AB", true, "", "AB"},  // too short for a serial
        {"12345678", "AB", true, "12MAB345678", "AB"},
        {"12345678", "go", true, "12IGO345678", "GO"},
        {"12345678", "VR", true, "12EVR345678", "PD"},
        {"12345678", "CA", false, "12345678", "AA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.model);
        session.options.DiscountsOnRefund = true;
        session.options.DiscountsOnRefundShown = true;
        Identity(c.serial, std::string(" ") + c.model + " ", c.rt);
        ASSERT_EQ(reader.ReadRegisterData(), ReadOutcome::kOk);
        EXPECT_EQ(session.reg().IsRtRegister, c.rt);
        EXPECT_EQ(session.reg().SerialNumber, c.matrSerial);
        EXPECT_EQ(session.reg().ModelCode, c.modelAfter);
        EXPECT_EQ(session.options.DiscountsOnRefund, !c.rt || c.matrSerial.empty());
    }
}

}  // namespace
}  // namespace zelmar::link::testing
