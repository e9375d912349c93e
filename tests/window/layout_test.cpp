#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/register_reader.h"
#include "window/boxes.h"
#include "window/operator_window.h"
#include "window/text_fit.h"

namespace zelmar::window {
namespace {

std::vector<WindowDescription> AllWindows() {
    return {OperatorWindow(), AboutBox(), SplashBox(), ClosingBox()};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

bool Placed(const Control& c) {
    return c.kind != Kind::kMenu && c.kind != Kind::kMenuItem;
}

// A widened box must still sit inside its frame and clear of its neighbours.
TEST(WindowLayout, ControlsStayInsideTheirFrameAndClearOfEachOther) {
    for (const WindowDescription& window : AllWindows()) {
        for (const Control& c : window.controls) {
            if (!Placed(c)) continue;
            SCOPED_TRACE(window.name + " " + c.name);
            const Rect rect = WindowRect(window, c);
            const Control* frame = window.find(c.frame);
            const Rect outer =
                frame ? WindowRect(window, *frame) : Rect{0, 0, window.width, window.height};
            EXPECT_GE(rect.x, outer.x);
            EXPECT_GE(rect.y, outer.y);
            EXPECT_LE(rect.right(), outer.right());
            EXPECT_LE(rect.bottom(), outer.bottom());
            for (const Control& other : window.controls) {
                if (&other == &c || !Placed(other) || other.frame != c.frame) continue;
                EXPECT_FALSE(Overlap(FittedRect(c), FittedRect(other))) << other.name;
            }
        }
    }
}

int TextRoom(const Control& c) {
    return FittedRect(c).width - TextPadding(c.kind);
}

// What the operator must be able to read whole.
TEST(WindowLayout, BoxesAreWideEnoughForTheirLongestText) {
    const struct {
        const char* control;
        std::string text;
    } rows[] = {
        {"Text4", "DUMP NON ESEGUITO"},
        {"Text1", "LETTURA DATI IVA E REPARTI DA ECR COMPLETATA"},
        {"Text1", "ERRORE nella lettura dati IVA e REPARTI da ECR"},
        {"Text2", "TRASMISSIONE ZELMAR1 IN CORSO .."},
        {"Text2", "ZELMAR1 TERMINATO : ERRORE DI CONVERSIONE"},
        {"Text3", "Timer ON"},
        {"txtTimerVal", "60000ms"},
        {"txtRemoteIP", "255.255.255.255"},
        {"txtAppDataVista", "C:\\ProgramData\\TELVOZELMAR1"},
        {"cmdValidateIP", "IP non Valido"},
        {"cmdPing", "No Ping"},
        {"Combo1", "Chiudi scontr. se aperto e invia"},
        {"chbTrace", "Abilita Trace di Comunic."},
        {"Label13", "Velocit\xE0 di comunicazione"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.control);
        const Control* c = OperatorWindow().find(row.control);
        ASSERT_TRUE(c);
        EXPECT_GE(TextRoom(*c), EstimatedTextWidth(row.text)) << row.text;
    }
    // The 11-character serial of an RT register of every model.
    const Control* serial = OperatorWindow().find("txtEcrMatr");
    for (const char* model :
         {"AA", "AB", "BZ", "CA", "CE", "CN", "GE", "GO", "NA", "PD", "TN", "TO", "VR", "VT"}) {
        const std::string shown = link::RtSerialNumber("99888888", model);
        EXPECT_EQ(shown.size(), 11u);
        EXPECT_GE(TextRoom(*serial), EstimatedTextWidth(shown)) << shown;
    }
}

}  // namespace
}  // namespace zelmar::window
