// The application as it runs (Form1 loaded by the forms engine on a headless
// display, real controls and socket controls), for the tests of Form1's
// procedures.
#pragma once

#include <string>

#include "app/udp/UdpSocketClass.h"
#include "platform/dialogs.h"
#include "platform/testing.h"
#include "runtime/core/ProcedureFrame.h"
#include "support/AppTestSupport.h"
#include "support/Form1Harness.h"

namespace skiffwire::testing {

// Runs body inside a procedure frame, as a compiled caller would call the
// procedures it uses (a value-returning procedure called from no procedure
// at all has nobody to return its error to).
template <typename Body>
HRESULT Enclosed(Body body) {
  static const rt::ProcedureDescriptor kDescriptor =
      rt::DescribeProcedure("TestCaller", rt::ReturnKind::Status, {});
  rt::ProcedureFrame frame(kDescriptor);
  return frame.run([&](rt::StatementIndex) -> rt::Next {
    body();
    return rt::Exit;
  });
}

// The application with its executable in a folder of its own (where it looks
// for Settings.txt) and every message box recorded.
struct TestApp {
  TempFolder folder;
  platform::ScopedModuleFileName executable{folder.windowsPath() + u"\\Skiffwire.exe"};
  platform::ScopedMessageBoxPolicy boxes;
  ScopedUdpSocketClass socketClass;
  Form1Harness ui;

  std::vector<std::u16string> log() const { return LogLines(ui.txtProcess->text()); }

  // The captions and texts of the boxes shown so far.
  std::vector<std::u16string> boxTexts() const {
    std::vector<std::u16string> out;
    for (const platform::MessageBoxRecord& box : boxes.boxes()) {
      out.push_back(box.caption + u": " + box.text);
    }
    return out;
  }

  // Loads the form (without a settings file: one message box) and connects
  // to the peer at address:port.
  void connect(std::u16string_view address, uint16_t port) {
    ui.load();
    ui.txtIpAddress->type(address);
    ui.txtPort->type(Utf16(std::to_string(port)));
    ui.cmdConnect->click();
  }
};

}  // namespace skiffwire::testing
