// Shared pieces of the application's tests: a fresh thread per test (the
// error context, message queue and windows are per thread), pumping messages
// until something happens (with a real-time limit that fails the test
// instead of hanging), log lines, temporary folders, plain UDP endpoints and
// the reference peer as a child process.
#pragma once

#include <netinet/in.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace skiffwire::testing {

using namespace std::chrono_literals;

template <typename Fn>
void OnFreshThread(Fn fn) {
  std::thread(fn).join();
}

// Dispatches the thread's messages, waiting for new ones without a timeout
// (so a virtual clock does not move), until done() holds. A watchdog wakes the
// wait after `limit` of real time; then the result is false.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s);
// Dispatches what is queued now, without waiting.
void PumpPending();

// The log split at CR LF; the text after the last CR LF (normally empty) is
// not a line.
std::vector<std::u16string> LogLines(std::u16string_view log);
std::string Utf8(std::u16string_view text);
std::u16string Utf16(std::string_view ascii);

// A folder under /tmp removed with its files at the end; `windowsPath` names
// it on drive Z:.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::u16string windowsPath() const;
  void write(const std::string& name, std::string_view bytes) const;
  std::string read(const std::string& name) const;

 private:
  std::string path_;
};

// A UDP port that was free on loopback a moment ago.
uint16_t FreeUdpPort();

// A plain datagram socket for tests.
class TestSocket {
 public:
  // Binds address:port; with reuse, SO_REUSEADDR is set first.
  TestSocket(const char* address, uint16_t port, bool reuse);
  ~TestSocket();
  TestSocket(const TestSocket&) = delete;
  TestSocket& operator=(const TestSocket&) = delete;

  bool bound() const { return bound_; }
  uint16_t port() const { return port_; }
  bool sendTo(const char* address, uint16_t port, std::string_view bytes);
  // The next datagram, or nothing after `limit`.
  std::optional<std::string> receive(std::chrono::milliseconds limit = 10s);

 private:
  int fd_ = -1;
  bool bound_ = false;
  uint16_t port_ = 0;
};

// skiffwire-peer as a child process, its output read line by line.
class PeerProcess {
 public:
  struct Datagram {
    std::string source;  // "127.0.0.1:8888"
    std::string bytes;
  };

  explicit PeerProcess(std::vector<std::string> arguments);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // True once the peer has said where it listens.
  bool listening() const { return listening_; }
  // The next line of output, or nothing after `limit`.
  std::optional<std::string> nextLine(std::chrono::milliseconds limit = 10s);
  // The next "from" line's datagram, skipping other lines.
  std::optional<Datagram> nextDatagram(std::chrono::milliseconds limit = 10s);
  // Skips lines until one contains `text`; false after `limit`.
  bool waitFor(std::string_view text, std::chrono::milliseconds limit = 10s);
  // SIGTERM, then the exit code (-1 when it did not exit normally).
  int stop();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
  bool listening_ = false;
};

}  // namespace skiffwire::testing
