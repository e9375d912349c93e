#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <vector>

#include "platform/event_loop.h"

namespace zelmar::platform {

// The program's event loop on Win32, in real time. One wait covers the watched handles (serial
// reads, socket events, folder notifications, a ping's process) and the thread's window
// messages, so a wait wakes for any of them and keeps the window alive. Timers and posted work
// live in the loop's own list, ordered by due time, and run on the loop.
class Win32EventLoop : public EventLoop {
  public:
    Win32EventLoop();
    ~Win32EventLoop() override;
    Win32EventLoop(const Win32EventLoop&) = delete;
    Win32EventLoop& operator=(const Win32EventLoop&) = delete;

    std::int64_t nowMs() const override;
    LocalDateTime localNow() const override;
    void pumpOnce() override;
    void pumpWait(int maxMs) override;
    void sleepMs(int ms) override;
    std::unique_ptr<Timer> createTimer(std::function<void()> onTick) override;
    void postDelayed(int delayMs, std::function<void()> fn) override;

    // Calls onSignalled on the loop whenever the handle is signalled; the callback must reset
    // the handle (or unwatch it), or it runs again at the next pass. False when the wait is
    // full or the handle is watched already.
    bool watchHandle(HANDLE handle, std::function<void()> onSignalled);
    void unwatch(HANDLE handle);

    // Runs the loop until quit() and returns quit's status.
    int run();
    // Ends run() once the event being handled returns. Safe from any thread.
    void quit(int status);
    bool quitRequested() const { return quitRequested_; }
    // Makes a wait return at once, so the loop runs what is due. Safe from any thread.
    void wake();

  private:
    class LoopTimer;  // must not outlive the loop
    // Timers and posted work share one list, ordered by due time and, at equal times, by
    // order of scheduling.
    using EntryId = std::uint64_t;
    struct Watch {
        HANDLE handle;
        std::function<void()> onSignalled;
    };
    struct Entry {
        EntryId id;
        std::function<void()> fn;
    };

    EntryId schedule(std::int64_t dueMs, std::function<void()> fn);
    void cancel(EntryId id);
    bool dispatchMessages();
    bool runSignalled(DWORD waitMs);
    bool runDue(EntryId scheduledBefore);
    DWORD waitBound(std::int64_t deadline) const;

    LARGE_INTEGER frequency_{};
    HANDLE wakeEvent_ = nullptr;
    std::vector<Watch> watches_;              // the wake event is not among them
    std::multimap<std::int64_t, Entry> due_;  // equal keys keep their order of insertion
    EntryId nextId_ = 1;
    std::atomic<bool> quitRequested_{false};
    std::atomic<int> quitStatus_{0};
};

}  // namespace zelmar::platform
