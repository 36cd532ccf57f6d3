#include "internal/MessageQueue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <map>
#include <utility>

#include "internal/DisplayState.h"
#include "internal/InputTranslator.h"
#include "internal/Messenger.h"
#include "internal/Painting.h"
#include "internal/WindowManager.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/kernel.h"
#include "platform/sockets.h"

namespace platform::internal {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<DWORD, std::weak_ptr<MessageQueue>> byThread;
};

Registry& registry() {
  static Registry r;
  return r;
}

// Ends the thread's queue with the thread.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (queue) queue->close();
  }
};
thread_local QueueHolder t_holder;

uint64_t nowMs() {
  return CurrentClock().nowMs();
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation and end
// ---------------------------------------------------------------------------
std::shared_ptr<MessageQueue> MessageQueue::current() {
  if (t_holder.queue) return t_holder.queue;
  auto queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    r.byThread[queue->threadId()] = queue;
  }
  t_holder.queue = queue;
  return queue;
}

std::shared_ptr<MessageQueue> MessageQueue::currentIfAny() {
  return t_holder.queue;
}

std::shared_ptr<MessageQueue> MessageQueue::ofThread(DWORD threadId) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.byThread.find(threadId);
  return it == r.byThread.end() ? nullptr : it->second.lock();
}

MessageQueue::MessageQueue(DWORD threadId) : threadId_(threadId) {
  eventFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  clockListener_ = AddClockListener([this] { wake(); });
}

MessageQueue::~MessageQueue() {
  if (clockListener_) RemoveClockListener(clockListener_);
  if (eventFd_ >= 0) ::close(eventFd_);
}

void MessageQueue::close() {
  if (clockListener_) RemoveClockListener(std::exchange(clockListener_, 0));
  std::deque<std::shared_ptr<SentMessage>> unanswered;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    unanswered.swap(sent_);
    posted_.clear();
    rawInput_.clear();
  }
  for (auto& sent : unanswered) {
    sent->done.store(true, std::memory_order_release);
    if (sent->replyTo) sent->replyTo->wake();
  }
  // The thread's windows go with it (without messages: the thread is gone).
  auto& manager = WindowManager::instance();
  for (HWND hwnd : manager.topLevelWindows()) {
    auto w = manager.find(hwnd);
    if (w && w->queue().get() == this) {
      std::vector<std::shared_ptr<Window>> tree{w};
      for (size_t i = 0; i < tree.size(); ++i) {
        for (HWND child : manager.children(tree[i]->handle())) {
          if (auto c = manager.find(child)) tree.push_back(c);
        }
      }
      for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
        (*it)->stage = Window::Stage::Gone;
        manager.remove(**it);
      }
    }
  }
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  auto it = r.byThread.find(threadId_);
  if (it != r.byThread.end() && it->second.lock().get() == this) r.byThread.erase(it);
}

// ---------------------------------------------------------------------------
// Any thread
// ---------------------------------------------------------------------------
void MessageQueue::bump() {
  ++changes_;
  if (waiting_ && !wakePending_) {
    wakePending_ = true;
    uint64_t one = 1;
    [[maybe_unused]] ssize_t written = ::write(eventFd_, &one, sizeof one);
    if (isDisplayThread()) CurrentDisplay().wake();
  }
}

uint64_t MessageQueue::changes() {
  std::lock_guard lock(mutex_);
  return changes_;
}

void MessageQueue::wake() {
  std::lock_guard lock(mutex_);
  bump();
}

bool MessageQueue::post(const MSG& msg, int socketFd, LONG socketEvent) {
  std::lock_guard lock(mutex_);
  if (closed_) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return false;
  }
  if (posted_.size() >= kPostedLimit) {
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return false;
  }
  posted_.push_back(Posted{msg, socketFd, socketEvent});
  bump();
  return true;
}

bool MessageQueue::pushSent(std::shared_ptr<SentMessage> sent) {
  std::lock_guard lock(mutex_);
  if (closed_) return false;
  sent_.push_back(std::move(sent));
  bump();
  return true;
}

void MessageQueue::pushInput(const RawInput& input) {
  std::lock_guard lock(mutex_);
  if (closed_) return;
  // Pointer moves merge while the thread has not looked at them yet.
  if (input.kind == RawInput::Kind::MouseMove && !rawInput_.empty() &&
      rawInput_.back().raw.kind == RawInput::Kind::MouseMove && !rawInput_.back().cooked) {
    rawInput_.back().raw = input;
  } else if (rawInput_.size() < kInputLimit) {
    rawInput_.push_back(PendingInput{input});
  }
  bump();
}

void MessageQueue::selectSocket(int fd, HWND hwnd, UINT message, LONG events) {
  std::lock_guard lock(mutex_);
  sockets_.select(fd, hwnd, message, events);
  bump();
}

void MessageQueue::cancelSocket(int fd) {
  std::lock_guard lock(mutex_);
  sockets_.cancel(fd);
}

// ---------------------------------------------------------------------------
// Owner thread: sent messages
// ---------------------------------------------------------------------------
void MessageQueue::runSentMessages() {
  for (;;) {
    std::shared_ptr<SentMessage> sent;
    {
      std::lock_guard lock(mutex_);
      if (sent_.empty()) return;
      sent = std::move(sent_.front());
      sent_.pop_front();
    }
    LRESULT result = 0;
    auto w = WindowManager::instance().find(sent->hwnd);
    if (w && w->onCurrentThread()) {
      result = Messenger::call(*w, sent->message, sent->wParam, sent->lParam);
    }
    sent->result = result;
    sent->done.store(true, std::memory_order_release);
    if (sent->replyTo) sent->replyTo->wake();
  }
}

bool MessageQueue::waitForReply(SentMessage& sent, std::optional<uint64_t> deadline) {
  for (;;) {
    uint64_t seen = changes();
    runSentMessages();
    if (sent.done.load(std::memory_order_acquire)) return true;
    int timeout = -1;
    if (deadline) {
      uint64_t now = nowMs();
      if (now >= *deadline) return false;
      if (!CurrentClock().isVirtual()) {
        timeout = static_cast<int>(std::min<uint64_t>(*deadline - now, 1u << 30));
      }
    }
    block(seen, timeout, false);
  }
}

// ---------------------------------------------------------------------------
// Owner thread: retrieval
// ---------------------------------------------------------------------------
bool MessageQueue::Filter::matches(const MSG& msg) const {
  if (first || last) {
    if (msg.message < first || msg.message > last) return false;
  }
  if (!hwnd) return true;
  if (hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1))) return msg.hwnd == nullptr;
  return msg.hwnd == hwnd || WindowManager::instance().isDescendant(hwnd, msg.hwnd);
}

void MessageQueue::postQuit(int exitCode) {
  std::lock_guard lock(mutex_);
  quit_ = true;
  quitCode_ = exitCode;
  bump();
}

bool MessageQueue::receive(MSG* msg, HWND hwnd, UINT first, UINT last, UINT flags, bool wait) {
  UINT mask = (flags >> 16) ? (flags >> 16) : QS_ALLINPUT;
  bool remove = (flags & PM_REMOVE) != 0;
  Filter filter{hwnd, first, last};
  for (;;) {
    uint64_t seen = changes();
    if (mask & QS_SENDMESSAGE) runSentMessages();
    pollExternal();
    bool found = ((mask & QS_POSTMESSAGE) && takePosted(msg, filter, remove)) ||
                 takeQuit(msg, remove) || ((mask & QS_INPUT) && takeInput(msg, filter, remove)) ||
                 ((mask & QS_PAINT) && takePaint(msg, filter)) ||
                 ((mask & QS_TIMER) && takeTimer(msg, filter, remove));
    if (found) {
      if (remove) lastMessage_ = *msg;
      return true;
    }
    if (!wait) return false;
    block(seen, timerTimeout(), true);
  }
}

bool MessageQueue::takePosted(MSG* msg, const Filter& filter, bool remove) {
  Posted taken;
  {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(posted_.begin(), posted_.end(),
                           [&](const Posted& p) { return filter.matches(p.msg); });
    if (it == posted_.end()) return false;
    taken = *it;
    if (remove) posted_.erase(it);
    if (remove && taken.socketEvent == FD_READ) {
      sockets_.rearm(taken.socketFd, taken.msg.hwnd, taken.msg.message);
    }
  }
  *msg = taken.msg;
  return true;
}

bool MessageQueue::takeQuit(MSG* msg, bool remove) {
  std::lock_guard lock(mutex_);
  if (!quit_) return false;
  *msg = MSG{nullptr, WM_QUIT,        static_cast<WPARAM>(quitCode_),
             0,       GetTickCount(), WindowManager::instance().cursorPos(),
             0};
  if (remove) quit_ = false;
  return true;
}

bool MessageQueue::takeInput(MSG* msg, const Filter& filter, bool remove) {
  if (cookingInput_) return false;  // a handler of the hit test is pumping
  for (;;) {
    PendingInput pending;
    {
      std::lock_guard lock(mutex_);
      if (rawInput_.empty()) return false;
      pending = rawInput_.front();
    }
    if (!pending.cooked) {
      cookingInput_ = true;
      std::optional<MSG> cooked = InputTranslator::cook(*this, pending.raw);
      cookingInput_ = false;
      pending.cooked = true;
      pending.dropped = !cooked;
      if (cooked) pending.msg = *cooked;
      std::lock_guard lock(mutex_);
      if (!rawInput_.empty()) rawInput_.front() = pending;
    }
    if (pending.dropped || !WindowManager::instance().find(pending.msg.hwnd)) {
      std::lock_guard lock(mutex_);
      if (!rawInput_.empty()) rawInput_.pop_front();
      continue;
    }
    if (!filter.matches(pending.msg)) return false;  // input keeps its order
    if (!remove) {
      *msg = pending.msg;
      return true;
    }
    {
      std::lock_guard lock(mutex_);
      if (!rawInput_.empty()) rawInput_.pop_front();
    }
    if (!InputTranslator::remove(*this, pending.raw, pending.msg)) continue;  // eaten
    *msg = pending.msg;
    return true;
  }
}

bool MessageQueue::takePaint(MSG* msg, const Filter& filter) {
  if (paintCount_ <= 0) return false;
  auto& manager = WindowManager::instance();
  // Parents are painted before their children.
  std::vector<HWND> pending;
  for (HWND top : manager.topLevelWindows())
    pending.push_back(top);
  std::reverse(pending.begin(), pending.end());
  while (!pending.empty()) {
    HWND hwnd = pending.back();
    pending.pop_back();
    auto w = manager.find(hwnd);
    if (!w || !w->isVisible()) continue;
    if (w->queue().get() == this && w->needsPaint() && !w->needsClientPaint()) {
      // Only the frame waits: it is painted here, without a WM_PAINT.
      Painting::paintPendingFrame(hwnd);
    }
    if (w->queue().get() == this && w->needsClientPaint()) {
      MSG candidate{hwnd, WM_PAINT, 0, 0, GetTickCount(), manager.cursorPos(), 0};
      if (filter.matches(candidate)) {
        *msg = candidate;
        return true;
      }
    }
    auto children = manager.children(hwnd);
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return false;
}

bool MessageQueue::takeTimer(MSG* msg, const Filter& filter, bool remove) {
  if (timers_.empty()) return false;
  timers_.expire(nowMs());
  MSG candidate{};
  const TimerTable::Timer* timer = timers_.firstExpired([&](const TimerTable::Timer& t) {
    candidate = MSG{t.hwnd,
                    WM_TIMER,
                    t.id,
                    reinterpret_cast<LPARAM>(t.proc),
                    GetTickCount(),
                    WindowManager::instance().cursorPos(),
                    0};
    return filter.matches(candidate);
  });
  if (!timer) return false;
  *msg = MSG{timer->hwnd,
             WM_TIMER,
             timer->id,
             reinterpret_cast<LPARAM>(timer->proc),
             GetTickCount(),
             WindowManager::instance().cursorPos(),
             0};
  if (remove) timers_.acknowledge(timer->hwnd, timer->id);
  return true;
}

// ---------------------------------------------------------------------------
// Owner thread: waiting
// ---------------------------------------------------------------------------
bool MessageQueue::isDisplayThread() const {
  return DisplayThreadId() == threadId_;
}

int MessageQueue::timerTimeout() const {
  if (CurrentClock().isVirtual()) return -1;
  std::optional<uint64_t> due = timers_.nextDue();
  if (!due) return -1;
  uint64_t now = nowMs();
  return *due <= now ? 0 : static_cast<int>(std::min<uint64_t>(*due - now, 1u << 30));
}

void MessageQueue::collectSockets(std::vector<pollfd>& fds, size_t socketStart) {
  std::vector<SocketWatcher::Readiness> ready;
  {
    std::lock_guard lock(mutex_);
    std::vector<pollfd> socketFds(fds.begin() + static_cast<ptrdiff_t>(socketStart), fds.end());
    ready = sockets_.collect(socketFds);
  }
  for (const auto& r : ready) {
    MSG msg{r.hwnd,
            r.message,
            static_cast<WPARAM>(r.fd),
            WSAMAKESELECTREPLY(static_cast<WORD>(r.event), static_cast<WORD>(r.error)),
            GetTickCount(),
            WindowManager::instance().cursorPos(),
            0};
    post(msg, r.fd, r.event);
  }
}

void MessageQueue::pollExternal() {
  if (isDisplayThread() && !pumping_) {
    pumping_ = true;
    CurrentDisplay().pumpEvents();
    pumping_ = false;
  }
  std::vector<pollfd> fds;
  {
    std::lock_guard lock(mutex_);
    if (sockets_.empty()) return;
    sockets_.appendPollDescriptors(fds);
  }
  if (fds.empty() || ::poll(fds.data(), fds.size(), 0) <= 0) return;
  collectSockets(fds, 0);
}

void MessageQueue::block(uint64_t seen, int timeoutMs, bool withSources) {
  std::vector<pollfd> fds{pollfd{eventFd_, POLLIN, 0}};
  size_t socketStart = 1;
  {
    std::lock_guard lock(mutex_);
    if (changes_ != seen || closed_) return;
    if (withSources) sockets_.appendPollDescriptors(fds);
    waiting_ = true;
  }
  size_t driverStart = fds.size();
  bool display = withSources && isDisplayThread();
  if (display) {
    for (int fd : CurrentDisplay().waitDescriptors())
      fds.push_back(pollfd{fd, POLLIN, 0});
  }
  std::span<pollfd> all(fds);
  int ready =
      display ? CurrentDisplay().wait(all, timeoutMs) : ::poll(fds.data(), fds.size(), timeoutMs);
  {
    std::lock_guard lock(mutex_);
    waiting_ = false;
    if (wakePending_) {
      uint64_t count;
      [[maybe_unused]] ssize_t got = ::read(eventFd_, &count, sizeof count);
      wakePending_ = false;
    }
  }
  if (ready <= 0) return;
  std::vector<pollfd> socketFds(fds.begin(), fds.begin() + static_cast<ptrdiff_t>(driverStart));
  collectSockets(socketFds, socketStart);
  bool driverReady = std::any_of(fds.begin() + static_cast<ptrdiff_t>(driverStart), fds.end(),
                                 [](const pollfd& p) { return p.revents != 0; });
  if (driverReady && !pumping_) {
    pumping_ = true;
    CurrentDisplay().pumpEvents();
    pumping_ = false;
  }
}

UINT MessageQueue::availableKinds(UINT mask) {
  UINT kinds = 0;
  {
    std::lock_guard lock(mutex_);
    if (!posted_.empty() || quit_) kinds |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
    if (!sent_.empty()) kinds |= QS_SENDMESSAGE;
    for (const PendingInput& p : rawInput_) {
      switch (p.raw.kind) {
        case RawInput::Kind::MouseMove:
          kinds |= QS_MOUSEMOVE;
          break;
        case RawInput::Kind::MouseButton:
        case RawInput::Kind::Wheel:
        // Desktop changes stand for the clicks and drags on a frame that
        // would have made them.
        case RawInput::Kind::Placement:
        case RawInput::Kind::Activation:
          kinds |= QS_MOUSEBUTTON;
          break;
        case RawInput::Kind::Key:
        case RawInput::Kind::Char:
          kinds |= QS_KEY;
          break;
      }
    }
  }
  if (paintCount_ > 0) {
    MSG unused;
    if (takePaint(&unused, Filter{nullptr, 0, 0})) kinds |= QS_PAINT;
  }
  if (!timers_.empty()) {
    timers_.expire(nowMs());
    if (timers_.firstExpired([](const TimerTable::Timer&) { return true; })) kinds |= QS_TIMER;
  }
  return kinds & mask;
}

DWORD MessageQueue::waitForMessages(DWORD timeoutMs, UINT mask) {
  Clock& clock = CurrentClock();
  uint64_t deadline =
      timeoutMs == INFINITE ? std::numeric_limits<uint64_t>::max() : clock.nowMs() + timeoutMs;
  for (;;) {
    uint64_t seen = changes();
    pollExternal();
    if (availableKinds(mask)) return WAIT_OBJECT_0;
    uint64_t now = clock.nowMs();
    if (now >= deadline) return WAIT_TIMEOUT;
    auto* virtualClock = dynamic_cast<VirtualClock*>(&clock);
    if (virtualClock && timeoutMs != INFINITE) {
      // Like Sleep: the waiting thread moves virtual time, stopping at the next timer.
      uint64_t until = std::min(deadline, timers_.nextDue().value_or(deadline));
      if (until > now) virtualClock->advance(until - now);
      continue;
    }
    int timeout = timerTimeout();
    if (timeoutMs != INFINITE && !clock.isVirtual()) {
      int remaining = static_cast<int>(std::min<uint64_t>(deadline - now, 1u << 30));
      timeout = timeout < 0 ? remaining : std::min(timeout, remaining);
    }
    block(seen, timeout, true);
  }
}

void MessageQueue::forgetWindow(HWND hwnd) {
  timers_.killAll(hwnd);
  std::lock_guard lock(mutex_);
  std::erase_if(posted_, [&](const Posted& p) { return p.msg.hwnd == hwnd; });
  sockets_.cancelWindow(hwnd);
  if (input_.focus == hwnd) input_.focus = nullptr;
  if (input_.active == hwnd) input_.active = nullptr;
  if (input_.capture == hwnd) input_.capture = nullptr;
  if (input_.lastClickWindow == hwnd) input_.lastClickWindow = nullptr;
}

}  // namespace platform::internal
