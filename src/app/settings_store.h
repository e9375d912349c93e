#pragma once

#include <string>

namespace zelmar::app {

// The settings files of the program folder as the main form uses them. The program wires the
// configuration layer behind it; tests record the calls.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // ZMChkBd.txt, ZMCHKCOM.TXT and ZMCHKSCO.TXT into Session::options.
    virtual void Load() = 0;
    // ZMCHKCOM.TXT, ZMCHKSCO.TXT and ZMChkBd.txt, in this order, from Session::options.
    virtual void Save() = 0;
    // The first field of ZMTIMER1.TXT; empty when the file is missing.
    virtual std::string ReadTimerField() = 0;
    // Replaces ZMTIMER1.TXT with the one line.
    virtual void WriteTimerFile(const std::string& line) = 0;
};

}  // namespace zelmar::app
