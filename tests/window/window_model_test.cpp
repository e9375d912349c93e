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
        // clang-format off
        {"nothing served, serial", false, false, false, true, {"Frame5", "Frame6", "Check3", "Frame4"}},
        {"nothing served, network", false, true, false, true, {"Frame5", "Frame6", "txtRemoteIP", "cmdPing", "Check3", "Frame4"}},
        {"slot 1 served, network", true, true, false, true, {"CMBFile", "AnnullaOperaz", "Check3", "Frame4"}},
        {"test receipt waiting", true, false, true, true, {"AnnullaOperaz", "Check3", "Frame4"}},
        {"slot 3 without port", false, false, false, false, {"Frame5", "Frame6", "Frame4"}},
        // clang-format on
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

// What the operator sees and sets through each kind of control is its own option or text.
TEST_F(WindowModelTest, ControlsShowAndSetTheirOwnOptionsAndTexts) {
    for (const bool ticked : {true, false}) {
        model.Ticked(Find("chbScontiSuReso"), ticked);
        EXPECT_EQ(session.options.DiscountsOnRefund, ticked);
        EXPECT_EQ(State("chbScontiSuReso").checked, ticked);
    }
    model.Edited(Find("txtRemotePort"), "9102");
    EXPECT_EQ(session.options.RegisterPort, "9102");
    EXPECT_EQ(State("txtRemotePort").text, "9102");
    model.Chosen(Find("cboToutConn"), 4);
    EXPECT_EQ(session.options.ConnectTimeoutChoice, 4);
    EXPECT_EQ(State("cboToutConn").choice, 4);
    session.texts.Firmware = "SIM 1.00";
    session.texts.ReadState[3] = "DUMP ESEGUITO";
    EXPECT_EQ(State("txtFWRev").text, "SIM 1.00");
    EXPECT_EQ(State("Text7").text, "DUMP ESEGUITO");
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
