// The application over simulated controls and real socket controls, for the
// tests of Form1's procedures.
#pragma once

#include <string>

#include "../AppTestSupport.h"
#include "app/simulated/SimulatedForm1.h"
#include "app/udp/UdpSocketClass.h"
#include "runtime/core/ProcedureFrame.h"

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

struct TestApp {
  ScopedUdpSocketClass socketClass;
  SimulatedForm1 ui;

  std::vector<std::u16string> log() const { return LogLines(ui.txtProcess->text()); }
};

}  // namespace skiffwire::testing
