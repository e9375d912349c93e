#pragma once

#include <string>

namespace zelmar::platform {

// Operator notices and the few shell services the program needs.
class Shell {
  public:
    virtual ~Shell() = default;
    // A message box once the window exists; standard error in headless mode.
    virtual void notice(const std::string& text) = 0;
    virtual bool openDocument(const std::string& path) = 0;
    // One ping to host: reply time in ms (a reply under 1 ms counts as 1), -1 for none.
    virtual int ping(const std::string& host) = 0;
};

}  // namespace zelmar::platform
