#pragma once

#include <functional>
#include <memory>

namespace zelmar::platform {

// Turns SIGINT and SIGTERM into a call on the event loop, so the program ends through its normal
// unload. One hook at a time; the destructor gives the signals back to the system.
class SignalHook {
  public:
    explicit SignalHook(std::function<void(int signalNumber)> onSignal);
    ~SignalHook();
    SignalHook(const SignalHook&) = delete;
    SignalHook& operator=(const SignalHook&) = delete;

  private:
    struct Native;
    std::unique_ptr<Native> native_;
};

}  // namespace zelmar::platform
