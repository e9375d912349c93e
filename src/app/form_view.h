#pragma once

#include <functional>
#include <string>

namespace zelmar {
struct Session;
}

namespace zelmar::app {

class OperatorCommands;

// The window-only pieces of the main form: the notification icon and the closing box. The
// texts and the job state live in Session; the window reads them from there. Headless mode
// has no window, so its view does nothing.
class FormView {
  public:
    virtual ~FormView() = default;
    // Adds the notification icon, or changes it: the busy picture while a job runs.
    virtual void ShowTrayIcon(bool busy, const std::string& tip) = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void HideWindow() = 0;
    virtual void ShowClosingBox(bool shown) = 0;
};

// The operator's window: built once the form and its commands exist (they need each other),
// then started around the form's start-up.
class OperatorWindow : public FormView {
  public:
    virtual void attach(Session& session, OperatorCommands& commands) = 0;
    // Runs the form's start-up (the splash box loaded meanwhile), then shows what must show.
    virtual void startWith(const std::function<void()>& formStartUp) = 0;
};

class HeadlessView : public FormView {
  public:
    void ShowTrayIcon(bool, const std::string&) override {}
    void RemoveTrayIcon() override {}
    void HideWindow() override {}
    void ShowClosingBox(bool) override {}
};

}  // namespace zelmar::app
