#include "window/window_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/form_fixture.h"
#include "config/settings_files.h"
#include "window/operator_window.h"

namespace zelmar::window {
namespace {

using app::testing::Count;

class WindowModelTest : public app::testing::CommandsTest {
  protected:
    const Control& Find(const char* name) { return *OperatorWindow().find(name); }
    ControlState State(const char* name) { return model.StateOf(Find(name)); }

    WindowModel model{session, commands};
};

// A control inside a frame follows its frame; the configuration frames close while the last
// slot box clicked is ticked, and only then do the test and cancel buttons work.
TEST_F(WindowModelTest, EnableRulesFollowTheSlotBoxesAndTheTransport) {
    const char* const watched[] = {"Frame5",  "Frame6",        "txtRemoteIP", "cmdPing",
                                   "CMBFile", "AnnullaOperaz", "Check3",      "Frame4"};
    const struct {
        const char* what;
        bool slot1Served;
        bool network;
        bool testReceiptWaiting;
        bool slot3PortFound;
        std::set<std::string> enabled;
    } rows[] = {
        {"nothing served, serial",
         false,
         false,
         false,
         true,
         {"Frame5", "Frame6", "Check3", "Frame4"}},
        {"nothing served, network",
         false,
         true,
         false,
         true,
         {"Frame5", "Frame6", "txtRemoteIP", "cmdPing", "Check3", "Frame4"}},
        {"slot 1 served, network",
         true,
         true,
         false,
         true,
         {"CMBFile", "AnnullaOperaz", "Check3", "Frame4"}},
        {"test receipt waiting", true, false, true, true, {"AnnullaOperaz", "Check3", "Frame4"}},
        {"slot 3 without port", false, false, false, false, {"Frame5", "Frame6", "Frame4"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        session.options.SlotServed[0] = row.slot1Served;
        session.options.UseNetwork = row.network;
        session.texts.TestReceiptEnabled = !row.testReceiptWaiting;
        session.options.SlotSelectable[2] = row.slot3PortFound;
        model.FollowProgramChanges();
        for (const char* name : watched) {
            EXPECT_EQ(State(name).enabled, row.enabled.count(name) == 1) << name;
        }
    }
}

TEST_F(WindowModelTest, ShownRulesHideTheTimerControlsAndTheRefundDiscounts) {
    EXPECT_TRUE(State("txtTimerVal").shown && State("cmdChgTimer").shown);
    model.Clicked(Find("OptionFAST"));
    EXPECT_FALSE(State("txtTimerVal").shown || State("cmdChgTimer").shown);
    EXPECT_EQ(State("Text3").text, "PRONTO");
    EXPECT_TRUE(State("OptionFAST").checked && !State("OptionSlow").checked);

    session.options.DiscountsOnRefundShown = false;  // an RT register was read
    EXPECT_FALSE(State("chbScontiSuReso").shown);
    EXPECT_FALSE(State("Image1").shown);
}

// What the operator sees and sets through each control is the option or text the glossary
// names: a box bound to the wrong field would print or convert the wrong way.
TEST_F(WindowModelTest, ControlsShowAndSetTheirOwnOptionsAndTexts) {
    const struct {
        const char* name;
        bool Options::*flag;
    } boxes[] = {
        {"chbTrace", &Options::TraceOn},
        {"chbPrintCode", &Options::PrintItemCode},
        {"chbScontiSuReso", &Options::DiscountsOnRefund},
        {"chbNFIntestazione", &Options::NonFiscalHeading},
        {"chbDoppioScontrino", &Options::PrintReceiptCopy},
        {"chbEnableMicrelecInput", &Options::RegisterLineInput},
        {"chbDisableExtDescr", &Options::NoExtendedDescription},
        {"chbDisableTotalizzatori", &Options::NoTotalsInResult},
        {"chbConvXonXoff", &Options::KeystrokeInput},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.name);
        model.Ticked(Find(box.name), true);
        EXPECT_TRUE(session.options.*box.flag && State(box.name).checked);
        model.Ticked(Find(box.name), false);
        EXPECT_FALSE(session.options.*box.flag || State(box.name).checked);
    }
    const struct {
        const char* name;
        std::string Options::*text;
    } edits[] = {{"txtTimerVal", &Options::PollIntervalText},
                 {"txtRemoteIP", &Options::RegisterAddress},
                 {"txtRemotePort", &Options::RegisterPort},
                 {"cmdBaud", &Options::BaudRateText}};
    for (const auto& edit : edits) {
        model.Edited(Find(edit.name), edit.name);
        EXPECT_EQ(session.options.*edit.text, edit.name);
        EXPECT_EQ(State(edit.name).text, edit.name);
    }
    model.Chosen(Find("Combo1"), 2);
    model.Chosen(Find("cboToutConn"), 4);
    EXPECT_EQ(session.options.OpenReceiptPolicy, 2);
    EXPECT_EQ(State("cboToutConn").choice, 4);

    const struct {
        const char* name;
        std::string& text;
    } texts[] = {{"Text1", session.texts.RegisterMessage},
                 {"Text2", session.texts.JobStatus},
                 {"Text3", session.texts.PollState},
                 {"txtEcrMatr", session.texts.SerialNumberShown},
                 {"txtFWRev", session.texts.Firmware},
                 {"txtAppDataVista", session.texts.DataFolderShown},
                 {"Text4", session.texts.ReadState[0]},
                 {"Text7", session.texts.ReadState[3]}};
    for (const auto& shown : texts) shown.text = shown.name;
    for (const auto& shown : texts) EXPECT_EQ(State(shown.name).text, shown.name);
}

// Each button, radio and menu item runs its own command.
TEST_F(WindowModelTest, ClicksRunTheirCommands) {
    bool aboutShown = false;
    model.setRenderer({.refresh = [] {}, .showAbout = [&] { aboutShown = true; }});
    session.texts.WindowShown = true;
    session.options.RegisterAddress = "127.0.0.1";
    const struct {
        const char* name;
        std::function<void()> before;
        std::function<bool()> done;
    } clicks[] = {
        {"OptionRete", [] {}, [&] { return Count(calls, "InitNetwork") == 1; }},
        {"cmdPing", [] {}, [&] { return shell.pingedHosts().size() == 1; }},
        {"OptionRete", [] {}, [&] { return Count(calls, "InitNetwork") == 1; }},  // selected
        {"OptionRS232", [] {}, [&] { return Count(calls, "OpenConnection") == 1; }},
        {"OptionFAST", [] {}, [&] { return session.options.FastMode; }},
        {"OptionSlow", [] {}, [&] { return !session.options.FastMode; }},
        {"CMBFile", [] {}, [&] { return session.texts.RegisterMessage == app::kDumpNotYetDone; }},
        {"AnnullaOperaz", [] {}, [&] { return sender.sent == std::vector<std::string>{"+"}; }},
        {"Command1", [] {}, [&] { return data.has(config::kBaudFile); }},
        {"cmdChgTimer", [&] { session.options.PollIntervalText = "x"; },
         [&] { return shell.notices().back() == app::kTimerValueRefused; }},
        {"m_manual", [] {},
         [&] { return shell.notices().back().starts_with(app::kManualNotFoundPrefix); }},
        {"m_info", [] {}, [&] { return aboutShown; }},
        {"m_esci", [] {}, [&] { return quits == 1; }},
    };
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.name);
        click.before();
        model.Clicked(Find(click.name));
        EXPECT_TRUE(click.done());
    }
}

// The address check shows its verdict in the button's caption while it waits, then the
// caption again.
TEST_F(WindowModelTest, AButtonShowsItsVerdictWhileTheCommandWaits) {
    std::vector<std::string> captions;
    model.setRenderer(
        {.refresh = [&] { captions.push_back(State("cmdValidateIP").text); }, .showAbout = [] {}});
    session.options.UseNetwork = true;
    session.options.RegisterAddress = "300.1.1.1";
    model.Clicked(Find("cmdValidateIP"));
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(captions.front(), "IP non Valido");
    EXPECT_EQ(State("cmdValidateIP").text, "Valida IP");
}

}  // namespace
}  // namespace zelmar::window
