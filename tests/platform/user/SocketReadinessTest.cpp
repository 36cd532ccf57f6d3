#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "WindowTestSupport.h"
#include "platform/sockets.h"

namespace windowing_test {
namespace {

constexpr UINT kSocketMessage = WM_USER + 100;

// Two UDP sockets on loopback, each connected to the other.
class UdpPair {
 public:
  UdpPair() {
    a_ = bound();
    b_ = bound();
    connectTo(a_, b_);
    connectTo(b_, a_);
  }
  ~UdpPair() {
    ::close(a_);
    ::close(b_);
  }
  int receiver() const { return a_; }
  void send(const char* text) const { ::send(b_, text, strlen(text), 0); }

 private:
  static int bound() {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    return fd;
  }
  static void connectTo(int fd, int peer) {
    sockaddr_in addr{};
    socklen_t size = sizeof addr;
    getsockname(peer, reinterpret_cast<sockaddr*>(&addr), &size);
    connect(fd, reinterpret_cast<sockaddr*>(&addr), size);
  }
  int a_, b_;
};

class SocketReadiness : public WindowTest {
 protected:
  // Takes readiness messages, at most `limit` of them: unread data post again
  // after each retrieval.
  std::vector<LPARAM> readiness(size_t limit = 5) {
    std::vector<LPARAM> events;
    MSG msg;
    while (events.size() < limit &&
           PeekMessageW(&msg, nullptr, kSocketMessage, kSocketMessage, PM_REMOVE)) {
      EXPECT_EQ(msg.wParam, static_cast<WPARAM>(pair_.receiver()));
      events.push_back(msg.lParam);
    }
    return events;
  }
  std::string receive() {
    char buffer[64];
    ssize_t n = recv(pair_.receiver(), buffer, sizeof buffer, 0);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
  }

  UdpPair pair_;
};

TEST_F(SocketReadiness, DatagramWakesABlockedGetMessage) {
  HWND hwnd = createTop();
  ASSERT_EQ(WSAAsyncSelect(pair_.receiver(), hwnd, kSocketMessage, FD_READ), 0);
  std::thread peer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    pair_.send("ACK");
  });
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  peer.join();
  EXPECT_EQ(msg.hwnd, hwnd);
  EXPECT_EQ(msg.message, kSocketMessage);
  EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_READ);
  EXPECT_EQ(WSAGETSELECTERROR(msg.lParam), 0);
  EXPECT_EQ(receive(), "ACK");
}

TEST_F(SocketReadiness, ReadIsPostedOnceAndRearmedWhenRetrieved) {
  HWND hwnd = createTop();
  WSAAsyncSelect(pair_.receiver(), hwnd, kSocketMessage, FD_READ);
  pair_.send("one");
  pair_.send("two");
  MSG msg;
  // Every look at the queue checks the socket; the pending message is not doubled.
  for (int i = 0; i < 3; ++i)
    PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_NOREMOVE);
  EXPECT_EQ(receive(), "one");
  EXPECT_EQ(receive(), "two");
  EXPECT_EQ(readiness().size(), 1u);
  // Unread data post again after each retrieval (level-triggered).
  pair_.send("three");
  EXPECT_EQ(readiness(3).size(), 3u);
  EXPECT_EQ(receive(), "three");
  EXPECT_EQ(readiness().size(), 0u);
}

TEST_F(SocketReadiness, WriteIsPostedOnceAndZeroEventsCancel) {
  HWND hwnd = createTop();
  WSAAsyncSelect(pair_.receiver(), hwnd, kSocketMessage, FD_READ | FD_WRITE);
  std::vector<LPARAM> events = readiness();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(WSAGETSELECTEVENT(events[0]), FD_WRITE);
  EXPECT_TRUE(readiness().empty());
  WSAAsyncSelect(pair_.receiver(), hwnd, 0, 0);
  pair_.send("ignored");
  EXPECT_TRUE(readiness().empty());
}

TEST_F(SocketReadiness, RequestsEndWithTheWindowAndBadArgumentsFail) {
  HWND hwnd = createTop();
  WSAAsyncSelect(pair_.receiver(), hwnd, kSocketMessage, FD_READ);
  DestroyWindow(hwnd);
  pair_.send("late");
  EXPECT_TRUE(readiness().empty());
  EXPECT_EQ(WSAAsyncSelect(pair_.receiver(), hwnd, kSocketMessage, FD_READ), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  EXPECT_EQ(WSAAsyncSelect(pipeFds[0], createTop(), kSocketMessage, FD_READ), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
}

TEST_F(SocketReadiness, PeerCloseOfAStreamPostsClose) {
  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  listen(listener, 1);
  socklen_t size = sizeof addr;
  getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &size);
  int client = socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&addr), size), 0);
  int server = accept(listener, nullptr, nullptr);
  HWND hwnd = createTop();
  WSAAsyncSelect(server, hwnd, kSocketMessage, FD_READ | FD_CLOSE);
  ::close(client);
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(WSAGETSELECTEVENT(msg.lParam), FD_CLOSE);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));  // once
  WSAAsyncSelect(server, hwnd, 0, 0);
  ::close(server);
  ::close(listener);
}

}  // namespace
}  // namespace windowing_test
