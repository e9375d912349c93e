#pragma once

#include <array>
#include <string>

namespace zelmar {

// The live settings: one object shared by the window, the headless program and the settings
// files. Field names are the names of the window's controls. Defaults stand in for the
// window's design-time values.
struct Options {
    std::array<bool, 4> Check{false, false, false, false};  // Check1..Check4: slot served
    std::array<bool, 4> CheckEnabled{true, true, true, true};

    bool OptionRete = false;  // network transport; false selects OptionRS232
    bool OptionFAST = false;  // fast mode (directory watcher); false selects OptionSlow
    bool OptionRS232() const { return !OptionRete; }
    bool OptionSlow() const { return !OptionFAST; }

    int Combo1 = 0;       // open-receipt choice, list index 0..2
    int cboToutConn = 1;  // connection time-out choice, list index 0..5

    bool chbTrace = false;
    bool chbPrintCode = false;
    bool chbScontiSuReso = false;
    bool chbScontiSuResoVisible = true;
    bool chbNFIntestazione = false;
    bool chbDoppioScontrino = false;
    bool chbEnableMicrelecInput = false;
    bool chbDisableExtDescr = false;
    bool chbDisableTotalizzatori = false;
    bool chbConvXonXoff = false;

    std::string txtRemoteIP;
    std::string txtRemotePort = "9101";
    std::string txtTimerVal = "1";
    std::string cmdBaud = "9600";
    int BaudRate = 115200;  // start-up value before ZMChkBd.txt is read
};

// The list items of the window's lists, as the window shows them.
inline const std::array<const char*, 3> kCombo1Items{
    "Invia anche se aperto ", "Chiudi scontr. se aperto e invia", "Termina invio se aperto!"};
inline const std::array<const char*, 6> kToutConnItems{"10 sec.", "20 sec.", "30 sec.",
                                                       "40 sec.", "50 sec.", "60 sec."};

}  // namespace zelmar
