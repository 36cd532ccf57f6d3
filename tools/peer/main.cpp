// skiffwire-peer: the reference peer for trying Skiffwire and for its tests.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "Peer.h"
#include "PeerOptions.h"

namespace {

int g_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(g_stopPipe[1], &byte, 1);
}

bool InstallStopHandlers() {
  if (pipe2(g_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace skiffwire::peer;
  std::string error;
  auto options = ParsePeerOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "skiffwire-peer: %s\n\n%s", error.c_str(), PeerUsage());
    return 2;
  }
  if (options->help) {
    std::fputs(PeerUsage(), stdout);
    return 0;
  }
  if (!InstallStopHandlers()) {
    std::perror("skiffwire-peer: signals");
    return 1;
  }
  Peer peer(*options, stdout);
  if (!peer.open()) return 1;
  return peer.run(g_stopPipe[0]);
}
