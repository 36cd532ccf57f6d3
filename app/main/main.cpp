// The skiffwire executable: picks the desktop's display driver, registers the
// socket control's class and runs the program through the process entry with
// Form1 as its start-up object.
#include <cstdio>
#include <memory>
#include <string>

#include "app/udp/UdpSocketClass.h"
#include "app/window/Form1Startup.h"
#include "app/window/Form1Window.h"
#include "platform/display.h"
#include "platform/user.h"
#include "runtime/forms/ProcessEntry.h"

namespace {

// The program's one form and the object that shows it; both live from the
// start-up object's creation until the main loop ends.
std::unique_ptr<skiffwire::Form1Window> form1;
ComPtr<skiffwire::Form1Startup> startup;

HRESULT CreateForm1(IUnknown** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  form1 = std::make_unique<skiffwire::Form1Window>();
  if (const HRESULT status = form1->status(); FAILED(status)) {
    std::fprintf(stderr, "skiffwire: the main window could not be built (0x%08X)\n",
                 static_cast<unsigned>(status));
    form1.reset();
    return status;
  }
  startup = rt::MakeComObject<skiffwire::Form1Startup>(form1.get());
  startup.CopyTo(reinterpret_cast<skiffwire::Form1Startup**>(object));
  return S_OK;
}

// Runs until the form's window is gone, then lets the form go while the
// platform is still complete.
void RunMainLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (startup) startup->forget();
  form1.reset();
}

}  // namespace

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
  rt::ProgramImage program;
  program.runMainLoop = &RunMainLoop;
  program.createStartupObject = &CreateForm1;
  const int code = rt::RunProcessEntry(program);
  form1.reset();
  startup.Reset();
  return code;
}
