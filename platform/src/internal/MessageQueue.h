// The message queue of one thread: messages sent from other threads, posted
// messages, WM_QUIT, raw input, and the sources of generated messages (paint
// flags, timers, socket readiness).
//
// Waiting is a poll() on an eventfd, the socket descriptors and the display
// driver's descriptors, with a timeout to the next timer on the system clock
// (none on a virtual clock, whose listeners wake the queue). Every change a
// waiter could care about bumps a change counter under the lock, so a waiter
// that looked at the queue and then blocks cannot miss one.
#pragma once

#include <poll.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "internal/SocketWatcher.h"
#include "internal/TimerTable.h"
#include "platform/user.h"

namespace platform::internal {

class MessageQueue;

// A message sent to a window of another thread, waiting for its reply.
struct SentMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::shared_ptr<MessageQueue> replyTo;  // null: nobody waits (SendNotifyMessageW)
  LRESULT result = 0;
  std::atomic<bool> done{false};
};

// Input as a driver delivers it; it becomes a message when the thread takes
// it. A desktop change (Placement, Activation) becomes none: it is applied.
struct RawInput {
  enum class Kind { MouseMove, MouseButton, Wheel, Key, Char, Placement, Activation };
  Kind kind;
  HWND window;  // Placement, Activation: the top-level window changed
  RECT rect;    // Placement: its new window rectangle
  POINT point;  // screen position of the pointer
  int code;     // virtual key (buttons: VK_LBUTTON...), or the character
  bool down;         // Activation: gained rather than lost
  bool wasDown;      // key state before this event
  int delta;         // wheel
  bool horizontal;   // wheel
  WPARAM mouseKeys;  // MK_* at the time of the event
  bool alt;          // modifier keys at the time of the event
  bool control;
  DWORD time;
};

// Focus, activation, capture and key state of one thread.
struct ThreadInput {
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  std::array<BYTE, 256> keys{};
  // The last button press, for double clicks.
  UINT lastClickMessage = 0;
  HWND lastClickWindow = nullptr;
  DWORD lastClickTime = 0;
  POINT lastClickPoint{};
};

class MessageQueue : public std::enable_shared_from_this<MessageQueue> {
 public:
  static constexpr size_t kPostedLimit = 10000;
  static constexpr size_t kInputLimit = 10000;

  // The calling thread's queue, created on first use.
  static std::shared_ptr<MessageQueue> current();
  static std::shared_ptr<MessageQueue> currentIfAny();
  static std::shared_ptr<MessageQueue> ofThread(DWORD threadId);

  explicit MessageQueue(DWORD threadId);
  ~MessageQueue();
  MessageQueue(const MessageQueue&) = delete;
  MessageQueue& operator=(const MessageQueue&) = delete;

  DWORD threadId() const { return threadId_; }

  // Any thread. post fails (last error set) when the queue is full or its
  // thread has ended.
  bool post(const MSG& msg, int socketFd = -1, LONG socketEvent = 0);
  bool pushSent(std::shared_ptr<SentMessage> sent);
  void pushInput(const RawInput& input);
  void selectSocket(int fd, HWND hwnd, UINT message, LONG events);
  void cancelSocket(int fd);
  void wake();

  // Owner thread.
  void postQuit(int exitCode);
  // Takes the next message as GetMessageW/PeekMessageW do; false only when
  // not waiting and nothing matched.
  bool receive(MSG* msg, HWND filter, UINT first, UINT last, UINT flags, bool wait);
  void runSentMessages();
  // Runs sends to this thread until `sent` is answered; false on time-out.
  bool waitForReply(SentMessage& sent, std::optional<uint64_t> deadline);
  DWORD waitForMessages(DWORD timeoutMs, UINT mask);
  UINT availableKinds(UINT mask);
  void forgetWindow(HWND hwnd);
  void countPaint(int delta) { paintCount_ += delta; }
  TimerTable& timers() { return timers_; }
  ThreadInput& input() { return input_; }
  const MSG& lastMessage() const { return lastMessage_; }
  // The thread ends: pending sends are answered with 0, posts fail from now on.
  void close();

 private:
  struct Posted {
    MSG msg;
    int socketFd;
    LONG socketEvent;
  };
  struct PendingInput {
    RawInput raw;
    bool cooked = false;
    bool dropped = false;
    MSG msg{};
  };
  struct Filter {
    HWND hwnd;
    UINT first;
    UINT last;
    bool matches(const MSG& msg) const;
  };

  uint64_t changes();
  void bump();  // under mutex_: something changed, wake a waiter
  bool takePosted(MSG* msg, const Filter& filter, bool remove);
  bool takeQuit(MSG* msg, bool remove);
  bool takeInput(MSG* msg, const Filter& filter, bool remove);
  bool takePaint(MSG* msg, const Filter& filter);
  bool takeTimer(MSG* msg, const Filter& filter, bool remove);
  void pollExternal();
  // Blocks until something changes after `seen`, a descriptor is ready, or
  // timeoutMs passes (-1: no limit).
  void block(uint64_t seen, int timeoutMs, bool withSources);
  int timerTimeout() const;
  void collectSockets(std::vector<pollfd>& fds, size_t socketStart);
  bool isDisplayThread() const;

  const DWORD threadId_;
  int eventFd_ = -1;
  int clockListener_ = 0;

  std::mutex mutex_;
  std::deque<Posted> posted_;
  std::deque<std::shared_ptr<SentMessage>> sent_;
  std::deque<PendingInput> rawInput_;
  SocketWatcher sockets_;
  bool quit_ = false;
  int quitCode_ = 0;
  bool closed_ = false;
  bool waiting_ = false;
  bool wakePending_ = false;
  uint64_t changes_ = 0;

  // Owner thread only.
  TimerTable timers_;
  ThreadInput input_;
  int paintCount_ = 0;
  bool cookingInput_ = false;
  bool pumping_ = false;
  MSG lastMessage_{};
};

}  // namespace platform::internal
