// Form1 over simulated controls with the design's captions and texts and two
// real socket controls created through the class registry: the application
// as it runs before the forms engine and the intrinsic controls exist (and
// what the tests and benchmarks drive).
#pragma once

#include <vector>

#include "app/form1/Form1Form.h"
#include "app/udp/UdpSocket.h"
#include "runtime/com/EventSink.h"
#include "support/simulated/SimulatedCheckBox.h"
#include "support/simulated/SimulatedCommandButton.h"
#include "support/simulated/SimulatedForm.h"
#include "support/simulated/SimulatedLabel.h"
#include "support/simulated/SimulatedShape.h"
#include "support/simulated/SimulatedTextBox.h"
#include "support/simulated/SimulatedTimer.h"
#include "support/simulated/SimulatedYield.h"

namespace skiffwire {

class SimulatedForm1 {
 public:
  // Runs the process entry's start-up steps the application needs, creates
  // the controls and the form and connects the form's handlers. The
  // socket control's class must be registered (ScopedUdpSocketClass).
  // Nothing is loaded yet: load() raises the form's load event.
  SimulatedForm1();
  ~SimulatedForm1();
  SimulatedForm1(const SimulatedForm1&) = delete;
  SimulatedForm1& operator=(const SimulatedForm1&) = delete;

  // The status of creating the socket controls and connecting the events.
  HRESULT status() const { return status_; }

  void load() { form->load(); }
  bool unload() { return form->unload(); }

  Form1& code() { return *form1_->code(); }
  Form1Form& compiledForm() { return *form1_; }
  UdpSocket& server() { return *static_cast<UdpSocket*>(sckServer.Get()); }
  UdpSocket& client() { return *static_cast<UdpSocket*>(sckClient.Get()); }

  // Set first: the start-up steps run before any control exists.
  bool startedUp_;

  ComPtr<SimulatedForm> form;
  ComPtr<SimulatedTextBox> txtIpAddress, txtPort, txtClearString, txtTestString, txtWaitState,
      txtPacketLen, txtTimeOut, txtRetry, txtDatagram, txtProcess;
  ComPtr<SimulatedCommandButton> cmdConnect, cmdSaveSettings, cmdString, cmdClear, cmdClearDatagram,
      cmdSendDataGram;
  ComPtr<SimulatedLabel> lblChecksum, lblDatagramLength, lblPacketQty;
  ComPtr<SimulatedCheckBox> chkSTX, chkEOT, chkChecksum;
  ComPtr<SimulatedShape> shpConnected;
  ComPtr<SimulatedTimer> tmrTimeout;
  ComPtr<IUdpSocket> sckServer, sckClient;
  ComPtr<SimulatedYield> runtime;

 private:
  HRESULT connectHandledMembers();

  HRESULT status_ = S_OK;
  ComPtr<Form1Form> form1_;
  std::vector<ComPtr<rt::EventSink>> sinks_;
};

}  // namespace skiffwire
