#include "platform/win32/win32_event_loop.h"

#include <algorithm>
#include <limits>

#include "platform/window_timer.h"

namespace zelmar::platform {
namespace {

// Window messages handled in one pass: a window that keeps posting to itself cannot hold the
// loop away from its handles and timers.
constexpr int kMaxMessagesPerPass = 100;

// How long a wait that failed for no known reason pauses instead.
constexpr DWORD kFailedWaitPauseMs = 100;

constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();

}  // namespace

class Win32EventLoop::LoopTimer : public WindowTimer {
  public:
    LoopTimer(Win32EventLoop& loop, std::function<void()> onTick)
        : loop_(loop), onTick_(std::move(onTick)) {}
    ~LoopTimer() override {
        *alive_ = false;
        loop_.cancel(scheduled_);
    }

  private:
    void restart() override {
        loop_.cancel(scheduled_);
        scheduled_ = 0;
        if (counting()) {
            scheduled_ = loop_.schedule(loop_.nowMs() + interval(), [this] { tick(); });
        }
    }
    // The next tick is booked before this one runs; a tick that comes while the previous one
    // still runs (its handler pumps the loop) is skipped, as window timers do.
    void tick() {
        scheduled_ = 0;
        restart();
        if (ticking_) return;
        ticking_ = true;
        const auto alive = alive_;
        const auto onTick = onTick_;  // the handler may destroy this timer
        onTick();
        if (*alive) ticking_ = false;
    }

    Win32EventLoop& loop_;
    std::function<void()> onTick_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    EntryId scheduled_ = 0;
    bool ticking_ = false;
};

Win32EventLoop::Win32EventLoop() {
    QueryPerformanceFrequency(&frequency_);
    wakeEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

Win32EventLoop::~Win32EventLoop() {
    if (wakeEvent_) CloseHandle(wakeEvent_);
}

std::int64_t Win32EventLoop::nowMs() const {
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::int64_t perSecond = frequency_.QuadPart;
    return counter.QuadPart / perSecond * 1000 + counter.QuadPart % perSecond * 1000 / perSecond;
}

LocalDateTime Win32EventLoop::localNow() const {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void Win32EventLoop::pumpOnce() {
    const EntryId scheduledBefore = nextId_;
    // Every handle signalled now, each once.
    for (std::size_t handle = 0; handle <= watches_.size() && runSignalled(0); ++handle) {
    }
    dispatchMessages();
    runDue(scheduledBefore);
}

void Win32EventLoop::pumpWait(int maxMs) {
    if (maxMs <= 0) {
        pumpOnce();
        return;
    }
    const std::int64_t deadline = nowMs() + maxMs;
    do {
        const EntryId scheduledBefore = nextId_;
        bool handled = runSignalled(waitBound(deadline));
        handled = dispatchMessages() || handled;
        handled = runDue(scheduledBefore) || handled;
        if (handled) return;
    } while (nowMs() < deadline);
}

void Win32EventLoop::sleepMs(int ms) {
    if (ms > 0) Sleep(static_cast<DWORD>(ms));
}

std::unique_ptr<Timer> Win32EventLoop::createTimer(std::function<void()> onTick) {
    return std::make_unique<LoopTimer>(*this, std::move(onTick));
}

void Win32EventLoop::postDelayed(int delayMs, std::function<void()> fn) {
    schedule(nowMs() + std::max(delayMs, 0), std::move(fn));
}

bool Win32EventLoop::watchHandle(HANDLE handle, std::function<void()> onSignalled) {
    // One slot of the wait is the wake event, one more is taken by the window messages' count.
    if (watches_.size() + 1 >= MAXIMUM_WAIT_OBJECTS) return false;
    const auto same = [handle](const Watch& watch) { return watch.handle == handle; };
    if (std::any_of(watches_.begin(), watches_.end(), same)) return false;
    watches_.push_back({handle, std::move(onSignalled)});
    return true;
}

void Win32EventLoop::unwatch(HANDLE handle) {
    std::erase_if(watches_, [handle](const Watch& watch) { return watch.handle == handle; });
}

int Win32EventLoop::run() {
    while (!quitRequested_) {
        const EntryId scheduledBefore = nextId_;
        runSignalled(waitBound(kNoDeadline));
        dispatchMessages();
        runDue(scheduledBefore);
    }
    quitRequested_ = false;
    return quitStatus_.load();
}

void Win32EventLoop::quit(int status) {
    quitStatus_ = status;
    quitRequested_ = true;
    wake();
}

void Win32EventLoop::wake() {
    SetEvent(wakeEvent_);
}

Win32EventLoop::EntryId Win32EventLoop::schedule(std::int64_t dueMs, std::function<void()> fn) {
    const EntryId id = nextId_++;
    due_.emplace(dueMs, Entry{id, std::move(fn)});
    return id;
}

void Win32EventLoop::cancel(EntryId id) {
    if (id == 0) return;
    const auto entry = std::find_if(due_.begin(), due_.end(),
                                    [id](const auto& item) { return item.second.id == id; });
    if (entry != due_.end()) due_.erase(entry);
}

// Handles what the thread's message queue holds; true when there was anything.
bool Win32EventLoop::dispatchMessages() {
    MSG message{};
    int handled = 0;
    while (handled < kMaxMessagesPerPass && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ++handled;
        if (message.message == WM_QUIT) {
            quit(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return handled > 0;
}

// Waits up to waitMs for a watched handle, the wake event or a window message, and runs the
// callback of one signalled handle. True when a handle's callback ran or the loop was woken.
bool Win32EventLoop::runSignalled(DWORD waitMs) {
    std::vector<HANDLE> handles;
    handles.reserve(watches_.size() + 1);
    for (const Watch& watch : watches_) handles.push_back(watch.handle);
    handles.push_back(wakeEvent_);
    const DWORD count = static_cast<DWORD>(handles.size());
    const DWORD woken = MsgWaitForMultipleObjectsEx(count, handles.data(), waitMs, QS_ALLINPUT,
                                                    MWMO_INPUTAVAILABLE);
    if (woken == WAIT_FAILED) {
        // A handle was closed while still watched: drop it rather than fail every wait. Any
        // other failure still must not turn the loop into a spin.
        const auto dropped = std::erase_if(watches_, [](const Watch& watch) {
            return WaitForSingleObject(watch.handle, 0) == WAIT_FAILED;
        });
        if (dropped == 0) Sleep(std::min(waitMs, kFailedWaitPauseMs));
        return false;
    }
    if (woken >= WAIT_OBJECT_0 + count) return false;  // a message, or the time is up
    const std::size_t index = woken - WAIT_OBJECT_0;
    if (index == watches_.size()) return true;  // woken
    // The handle goes to the back of the list, so a busy one cannot starve the others.
    auto onSignalled = watches_[index].onSignalled;
    std::rotate(watches_.begin() + static_cast<std::ptrdiff_t>(index),
                watches_.begin() + static_cast<std::ptrdiff_t>(index) + 1, watches_.end());
    onSignalled();  // may watch, unwatch, or pump the loop again
    return true;
}

// Runs the timers and posted work that are due, in order, except what was scheduled at or after
// scheduledBefore: work that posts itself again waits for the next pass.
bool Win32EventLoop::runDue(EntryId scheduledBefore) {
    bool ran = false;
    for (;;) {
        const std::int64_t now = nowMs();
        const auto entry = std::find_if(due_.begin(), due_.end(), [&](const auto& item) {
            return item.first > now || item.second.id < scheduledBefore;
        });
        if (entry == due_.end() || entry->first > now) return ran;
        auto fn = std::move(entry->second.fn);
        due_.erase(entry);
        fn();
        ran = true;
    }
}

// How long the next wait may sleep: until the deadline or the first due entry, whichever is
// first; INFINITE when neither exists.
DWORD Win32EventLoop::waitBound(std::int64_t deadline) const {
    const std::int64_t until = due_.empty() ? deadline : std::min(deadline, due_.begin()->first);
    if (until == kNoDeadline) return INFINITE;
    return static_cast<DWORD>(std::clamp<std::int64_t>(until - nowMs(), 0, INFINITE - 1));
}

}  // namespace zelmar::platform
