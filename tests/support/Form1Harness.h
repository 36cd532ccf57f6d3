// Form1 as the program runs it, for the application's tests: the forms
// engine started with the program's design on a headless display, Form1
// created through its design (intrinsic controls, the two socket controls
// hosted by the extender), and a driver for each control the tests use.
// The socket control's class must be registered and the message boxes
// answered by a policy (see Form1TestSupport.h). One per thread.
#pragma once

#include <memory>

#include "app/form1/Form1Form.h"
#include "app/members/IYield.h"
#include "app/udp/UdpSocket.h"
#include "platform/display.h"
#include "runtime/controls/extender/ActiveXControlExtender.h"
#include "support/ControlDrivers.h"

namespace skiffwire::testing {

// The language's DoEvents as the application reaches it, counting calls.
class CountingYield;

class Form1Harness {
 public:
  Form1Harness();
  ~Form1Harness();
  Form1Harness(const Form1Harness&) = delete;
  Form1Harness& operator=(const Form1Harness&) = delete;

  // The status of starting the engine and creating Form1.
  HRESULT status() const { return status_; }

  // Shows Form1 by name, as the process entry does: the form loads (its
  // Load handler runs) and its window appears.
  void load();
  // Unloads Form1 as closing its window does; false when it stayed.
  bool unload();

  Form1& code() { return *form1_->code(); }
  Form1Form& compiledForm() { return *form1_; }
  UdpSocket& server() { return socket(member::sckServer); }
  UdpSocket& client() { return socket(member::sckClient); }
  // Times Form1's procedures yielded to pending events.
  int yields() const;
  HWND window() const;

  platform::ScopedHeadlessDisplay display{{1280, 1024}, 96};

  std::unique_ptr<FormDriver> form;
  std::unique_ptr<TextBoxDriver> txtIpAddress, txtPort, txtClearString, txtTestString, txtWaitState,
      txtPacketLen, txtTimeOut, txtRetry, txtDatagram, txtProcess;
  std::unique_ptr<ButtonDriver> cmdConnect, cmdSaveSettings, cmdString, cmdClear, cmdClearDatagram,
      cmdSendDataGram;
  std::unique_ptr<LabelDriver> lblChecksum, lblDatagramLength, lblPacketQty;
  std::unique_ptr<CheckBoxDriver> chkSTX, chkEOT, chkChecksum;
  std::unique_ptr<ShapeDriver> shpConnected;
  std::unique_ptr<TimerDriver> tmrTimeout;
  ComPtr<IUdpSocket> sckServer, sckClient;

 private:
  UdpSocket& socket(DISPID member);
  ComPtr<rt::ActiveXControlExtender> extenderAt(DISPID member) const;
  ComPtr<IUdpSocket> hostedSocket(DISPID member) const;
  IUnknown* slot(DISPID member) const;

  void ensureLoaded();
  void ensureShown();

  HRESULT status_ = S_OK;
  DriverContext context_{display.display(), [this] { ensureLoaded(); }, [this] { ensureShown(); }};
  ComPtr<CountingYield> yield_;
  ComPtr<Form1Form> form1_;
};

}  // namespace skiffwire::testing
