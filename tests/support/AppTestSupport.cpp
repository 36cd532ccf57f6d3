#include "support/AppTestSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/kernel.h"
#include "platform/user.h"

extern char** environ;

#ifndef SKIFFWIRE_PEER_PATH
#define SKIFFWIRE_PEER_PATH "skiffwire-peer"  // found on the PATH
#endif

namespace skiffwire::testing {

void PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const DWORD thread = GetCurrentThreadId();
  std::mutex mutex;
  std::condition_variable finishedChanged;
  bool finished = false;
  std::atomic<bool> expired{false};
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!finishedChanged.wait_for(lock, limit, [&] { return finished; })) {
      expired = true;
      PostThreadMessageW(thread, WM_NULL, 0, 0);
    }
  });
  bool reached = false;
  for (;;) {
    PumpPending();
    if (done()) {
      reached = true;
      break;
    }
    if (expired) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
  }
  {
    std::lock_guard lock(mutex);
    finished = true;
  }
  finishedChanged.notify_all();
  watchdog.join();
  return reached;
}

std::vector<std::u16string> LogLines(std::u16string_view log) {
  std::vector<std::u16string> lines;
  for (size_t end; (end = log.find(u"\r\n")) != std::u16string_view::npos;) {
    lines.emplace_back(log.substr(0, end));
    log.remove_prefix(end + 2);
  }
  return lines;
}

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::u16string Utf16(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

TempFolder::TempFolder() {
  char pattern[] = "/tmp/skiffwire-test-XXXXXX";
  path_ = mkdtemp(pattern);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::u16string TempFolder::windowsPath() const {
  std::u16string out = u"Z:";
  for (char c : path_)
    out += c == '/' ? u'\\' : static_cast<char16_t>(c);
  return out;
}

void TempFolder::write(const std::string& name, std::string_view bytes) const {
  std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
}

std::string TempFolder::read(const std::string& name) const {
  std::ifstream in(path_ + "/" + name, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

uint16_t FreeUdpPort() {
  TestSocket probe("127.0.0.1", 0, false);
  return probe.port();
}

TestSocket::TestSocket(const char* address, uint16_t port, bool reuse) {
  fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  int on = 1;
  if (reuse) setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(port);
  inet_pton(AF_INET, address, &local.sin_addr);
  bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
  socklen_t length = sizeof local;
  getsockname(fd_, reinterpret_cast<sockaddr*>(&local), &length);
  port_ = ntohs(local.sin_port);
}

TestSocket::~TestSocket() {
  if (fd_ >= 0) close(fd_);
}

bool TestSocket::sendTo(const char* address, uint16_t port, std::string_view bytes) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  inet_pton(AF_INET, address, &to.sin_addr);
  return sendto(fd_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
         static_cast<ssize_t>(bytes.size());
}

std::optional<std::string> TestSocket::receive(std::chrono::milliseconds limit) {
  pollfd fd{fd_, POLLIN, 0};
  if (poll(&fd, 1, static_cast<int>(limit.count())) <= 0) return std::nullopt;
  std::string buffer(65536, '\0');
  ssize_t received = recv(fd_, buffer.data(), buffer.size(), 0);
  if (received < 0) return std::nullopt;
  buffer.resize(static_cast<size_t>(received));
  return buffer;
}

PeerProcess::PeerProcess(std::vector<std::string> arguments) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<std::string> all = {SKIFFWIRE_PEER_PATH};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawn(&pid_, SKIFFWIRE_PEER_PATH, &actions, nullptr, argv.data(), environ) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  out_ = pipeFds[0];
  if (pid_ > 0) listening_ = waitFor("listening on");
}

PeerProcess::~PeerProcess() {
  stop();
  if (out_ >= 0) close(out_);
}

std::optional<std::string> PeerProcess::nextLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (size_t end = buffer_.find('\n'); end != std::string::npos) {
      std::string line = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || out_ < 0) return std::nullopt;
    pollfd fd{out_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
    char chunk[4096];
    ssize_t n = read(out_, chunk, sizeof chunk);
    if (n <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<size_t>(n));
  }
}

namespace {
std::string Unescape(const std::string& quoted) {
  std::string out;
  for (size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 3 < quoted.size() + 0 && quoted[i + 1] == 'x') {
      out += static_cast<char>(std::stoi(quoted.substr(i + 2, 2), nullptr, 16));
      i += 3;
      continue;
    }
    out += quoted[i];
  }
  return out;
}
}  // namespace

std::optional<PeerProcess::Datagram> PeerProcess::nextDatagram(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    std::optional<std::string> line = nextLine(left.count() > 0 ? left : 0ms);
    if (!line) return std::nullopt;
    // "<time> from <address>:<port> <n> bytes: "<bytes>""
    const size_t from = line->find(" from ");
    const size_t quote = line->find(" bytes: \"");
    if (from == std::string::npos || quote == std::string::npos || line->back() != '"') continue;
    const size_t sourceStart = from + 6;
    const size_t sourceEnd = line->find(' ', sourceStart);
    const size_t bytesStart = quote + 9;
    return Datagram{line->substr(sourceStart, sourceEnd - sourceStart),
                    Unescape(line->substr(bytesStart, line->size() - 1 - bytesStart))};
  }
}

bool PeerProcess::waitFor(std::string_view text, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    std::optional<std::string> line = nextLine(left.count() > 0 ? left : 0ms);
    if (!line) return false;
    if (line->find(text) != std::string::npos) return true;
  }
}

int PeerProcess::stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace skiffwire::testing
