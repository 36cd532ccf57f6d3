// The skiffwire executable: picks the desktop's display driver, registers the
// socket control's class and runs the program through the process entry:
// the forms engine starts with Form1's design and shows Form1.
#include <cstdio>
#include <string>

#include "app/form1/Form1Program.h"
#include "app/udp/UdpSocketClass.h"
#include "platform/display.h"

int main() {
  const std::string problem = platform::SelectDisplayDriverForDesktop();
  if (!problem.empty()) {
    std::fprintf(stderr, "skiffwire: %s\n", problem.c_str());
    return 1;
  }
  skiffwire::ScopedUdpSocketClass socketClass;
  if (FAILED(socketClass.status())) {
    std::fprintf(stderr, "skiffwire: the UDP socket control could not be registered\n");
    return 1;
  }
  return rt::RunProcessEntry(skiffwire::Program());
}
