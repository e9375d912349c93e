#pragma once

#include <string>
#include <vector>

#include "common/options.h"
#include "platform/file_system.h"

namespace zelmar::config {

// The one-line settings files of the program folder.
inline constexpr const char* kBaudFile = "ZMChkBd.txt";
inline constexpr const char* kSlotsFile = "ZMCHKCOM.TXT";
inline constexpr const char* kOptionsFile = "ZMCHKSCO.TXT";
inline constexpr const char* kTimerFile = "ZMTIMER1.TXT";

inline constexpr int kDefaultBaudRate = 9600;
inline constexpr const char* kDefaultBaudText = "9600";
inline constexpr const char* kDefaultRemotePort = "9101";

// What the load hands to the network layer for the socket (the window's socket took them
// directly). The remote host is empty unless ZMCHKSCO.TXT held a valid address; the remote
// port is empty when the file held no port line, and is applied only while the socket is
// closed.
struct SocketTarget {
    std::string remoteHost;
    std::string remotePort;
};

// Reads and writes the settings files into and from the options. Missing, unreadable or
// malformed files never fail: the fields that cannot be read keep the options' values.
class SettingsFiles {
  public:
    SettingsFiles(platform::FileSystem& files, std::string programFolder);

    // ZMChkBd.txt, ZMCHKCOM.TXT and ZMCHKSCO.TXT, in that order, at start-up.
    SocketTarget Load(Options& options);
    // ZMCHKCOM.TXT, then ZMCHKSCO.TXT, then ZMChkBd.txt, at unload. A ZMCHKCOM.TXT that the
    // load found in another form than ours is left as it is, unless the operator has changed a
    // slot box since.
    void Save(const Options& options);
    void SlotBoxChangedByOperator() { keepSlotsFile_ = false; }
    // The baud-rate button: the rate becomes the number of BaudRateText's text, and the file is
    // written with that text.
    void ApplyAndSaveBaudRate(Options& options);

    // The first field of ZMTIMER1.TXT (a decimal comma is read as a point); empty when the
    // file is missing.
    std::string ReadTimerField();
    // Replaces ZMTIMER1.TXT with one line.
    void WriteTimerText(const std::string& text);

    std::string PathOf(const std::string& fileName) const;

  private:
    bool ReadFile(const std::string& fileName, std::vector<std::string>& lines);
    void LoadBaudRate(Options& options);
    void LoadSlots(Options& options);
    SocketTarget LoadOptions(Options& options);
    void SaveBaudRate(const Options& options);
    void SaveSlots(const Options& options);
    void SaveOptions(const Options& options);

    platform::FileSystem& files_;
    std::string programFolder_;
    bool keepSlotsFile_ = false;
};

// The ZMTIMER1.TXT text of a polling interval: whole milliseconds below one second,
// otherwise seconds with "." before any fraction (1500 gives "1.5", 60000 gives "60").
std::string PollIntervalFileText(int pollIntervalMs);

}  // namespace zelmar::config
