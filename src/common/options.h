#pragma once

#include <array>
#include <string>

namespace zelmar {

// The live settings: one object shared by the window, the headless program and the settings
// files. docs/GLOSSARY.md names the window control of each field. Defaults are the values the
// window starts with.
struct Options {
    std::array<bool, 4> SlotServed{false, false, false, false};
    std::array<bool, 4> SlotSelectable{true, true, true, true};  // false: its port was not found

    bool UseNetwork = false;  // the register over TCP; false: the serial line
    bool FastMode = false;    // job files are noticed by the folder watcher; false: polling
    bool SerialTransport() const { return !UseNetwork; }
    bool PollMode() const { return !FastMode; }

    int OpenReceiptPolicy = 0;     // what a job does when a receipt is open, list index 0..2
    int ConnectTimeoutChoice = 1;  // connection time-out, list index 0..5 (10 to 60 s)

    bool TraceOn = false;
    bool PrintItemCode = false;
    bool DiscountsOnRefund = false;
    bool DiscountsOnRefundShown = true;
    bool NonFiscalHeading = false;
    bool PrintReceiptCopy = false;
    bool RegisterLineInput = false;
    bool NoExtendedDescription = false;
    bool NoTotalsInResult = false;
    bool KeystrokeInput = false;

    std::string RegisterAddress;
    std::string RegisterPort = "9101";
    std::string PollIntervalText = "1";
    std::string BaudRateText = "9600";
    int BaudRate = 115200;  // start-up value before ZMChkBd.txt is read
};

// The items of the window's lists, as the window shows them.
inline const std::array<const char*, 3> kOpenReceiptPolicyItems{
    "Invia anche se aperto ", "Chiudi scontr. se aperto e invia", "Termina invio se aperto!"};
inline const std::array<const char*, 6> kToutConnItems{"10 sec.", "20 sec.", "30 sec.",
                                                       "40 sec.", "50 sec.", "60 sec."};

}  // namespace zelmar
