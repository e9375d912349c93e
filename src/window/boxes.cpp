#include "window/boxes.h"

#include "app/operator_commands.h"

namespace zelmar::window {
namespace {

constexpr int kLinePitch = 22;

Control Line(const char* name, const std::string& text, int line) {
    return {.name = name, .caption = text, .rect = {12, 12 + line * kLinePitch, 0, 16}};
}

}  // namespace

WindowDescription AboutBox() {
    const app::AboutTexts texts = app::AboutBoxTexts();
    WindowDescription box{
        .name = "frmAbout", .caption = texts.caption, .width = 424, .height = 120};
    box.controls.push_back(Line("lblTitle", texts.lblTitle, 0));
    box.controls.back().bold = true;
    box.controls.push_back(Line("lblVersion", texts.lblVersion, 1));
    box.controls.push_back(Line("lblDescription", texts.lblDescription, 2));
    box.controls.push_back({.name = "cmdOK",
                            .kind = Kind::kButton,
                            .caption = "&OK",
                            .rect = {328, 86, 84, 22},
                            .command = Command::kCloseBox,
                            .defaultItem = true});
    return box;
}

WindowDescription SplashBox() {
    const app::SplashTexts texts = app::SplashBoxTexts();
    WindowDescription box{.name = "frmSplash", .width = 240, .height = 122};
    box.controls = {Line("lblProductName", texts.title, 0), Line("lblVersion", texts.version, 1),
                    Line("lblCompany", texts.company, 2), Line("lblPlatform", texts.platform, 3),
                    Line("lblCopyright", texts.copyright, 4)};
    return box;
}

WindowDescription ClosingBox() {
    WindowDescription box{.name = "Form1", .width = 310, .height = 40};
    box.controls = {Line("Label1", " Chiusura programma Zelmar1 in corso ...", 0)};
    return box;
}

}  // namespace zelmar::window
