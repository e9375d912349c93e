#include "window/window_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/form_fixture.h"
#include "window/operator_window.h"

namespace zelmar::window {
namespace {

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
