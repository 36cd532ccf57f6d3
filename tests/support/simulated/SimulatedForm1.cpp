#include "support/simulated/SimulatedForm1.h"

#include "runtime/com/EventSink.h"
#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/FileTable.h"

namespace skiffwire {

namespace {

// The way the ActiveX extender creates the control (context 5).
HRESULT CreateSocket(IUdpSocket** socket) {
  return CoCreateInstance(CLSID_UdpSocket, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                          IID_IUdpSocket, reinterpret_cast<void**>(socket));
}

// The start-up steps of the process entry that the application relies on
// (the entry itself is not built yet): the table of numbered files and the
// run-time error messages. Both keep what exists when run again.
bool RunStartUpSteps() {
  rt::BuildErrorMessageTable();
  rt::FileTable::Create();
  return true;
}

}  // namespace

SimulatedForm1::SimulatedForm1()
    : startedUp_(RunStartUpSteps()),
      form(rt::MakeComObject<SimulatedForm>()),
      txtIpAddress(rt::MakeComObject<SimulatedTextBox>(u"127.0.0.1")),
      txtPort(rt::MakeComObject<SimulatedTextBox>(u"8888")),
      txtClearString(rt::MakeComObject<SimulatedTextBox>(u"clear")),
      txtTestString(rt::MakeComObject<SimulatedTextBox>(u"Hello World!")),
      txtWaitState(rt::MakeComObject<SimulatedTextBox>(u"1")),
      txtPacketLen(rt::MakeComObject<SimulatedTextBox>(u"128")),
      txtTimeOut(rt::MakeComObject<SimulatedTextBox>(u"5000")),
      txtRetry(rt::MakeComObject<SimulatedTextBox>(u"3")),
      txtDatagram(rt::MakeComObject<SimulatedTextBox>()),
      txtProcess(rt::MakeComObject<SimulatedTextBox>()),
      cmdConnect(rt::MakeComObject<SimulatedCommandButton>(u"Connect")),
      cmdSaveSettings(rt::MakeComObject<SimulatedCommandButton>(u"Save Settings")),
      cmdString(rt::MakeComObject<SimulatedCommandButton>(u"Send Test String")),
      cmdClear(rt::MakeComObject<SimulatedCommandButton>(u"Send Clear String")),
      cmdClearDatagram(rt::MakeComObject<SimulatedCommandButton>(u"Clear Datagram Entry")),
      cmdSendDataGram(rt::MakeComObject<SimulatedCommandButton>(u"Send Datagram")),
      lblChecksum(rt::MakeComObject<SimulatedLabel>(u"00")),
      lblDatagramLength(rt::MakeComObject<SimulatedLabel>(u"0")),
      lblPacketQty(rt::MakeComObject<SimulatedLabel>(u"0")),
      // The design ticks all three options.
      chkSTX(rt::MakeComObject<SimulatedCheckBox>(kChecked)),
      chkEOT(rt::MakeComObject<SimulatedCheckBox>(kChecked)),
      chkChecksum(rt::MakeComObject<SimulatedCheckBox>(kChecked)),
      shpConnected(rt::MakeComObject<SimulatedShape>()),
      tmrTimeout(rt::MakeComObject<SimulatedTimer>()),
      runtime(rt::MakeComObject<SimulatedYield>()) {
  status_ = CreateSocket(&sckServer);
  if (SUCCEEDED(status_)) status_ = CreateSocket(&sckClient);
  if (FAILED(status_)) return;
  // The slots as the design loader fills them, for the members the
  // application's code uses.
  form1_ = rt::MakeComObject<Form1Form>(runtime);
  const std::span<ComPtr<IUnknown>> slots = form1_->memberSlots();
  auto put = [&slots](DISPID id, IUnknown* object) { slots[static_cast<size_t>(id)] = object; };
  put(member::Form1, form->unknown());
  put(member::txtIpAddress, txtIpAddress->unknown());
  put(member::txtPort, txtPort->unknown());
  put(member::txtClearString, txtClearString->unknown());
  put(member::txtTestString, txtTestString->unknown());
  put(member::txtWaitState, txtWaitState->unknown());
  put(member::txtPacketLen, txtPacketLen->unknown());
  put(member::txtTimeOut, txtTimeOut->unknown());
  put(member::txtRetry, txtRetry->unknown());
  put(member::txtDatagram, txtDatagram->unknown());
  put(member::txtProcess, txtProcess->unknown());
  put(member::cmdConnect, cmdConnect->unknown());
  put(member::cmdSaveSettings, cmdSaveSettings->unknown());
  put(member::cmdString, cmdString->unknown());
  put(member::cmdClear, cmdClear->unknown());
  put(member::cmdClearDatagram, cmdClearDatagram->unknown());
  put(member::cmdSendDataGram, cmdSendDataGram->unknown());
  put(member::lblChecksum, lblChecksum->unknown());
  put(member::lblDatagramLength, lblDatagramLength->unknown());
  put(member::lblPacketQty, lblPacketQty->unknown());
  put(member::chkSTX, chkSTX->unknown());
  put(member::chkEOT, chkEOT->unknown());
  put(member::chkChecksum, chkChecksum->unknown());
  put(member::shpConnected, shpConnected->unknown());
  put(member::tmrTimeout, tmrTimeout->unknown());
  put(member::sckServer, sckServer.Get());
  put(member::sckClient, sckClient.Get());
  status_ = form1_->bind();
  if (SUCCEEDED(status_)) status_ = connectHandledMembers();
}

// What the design loader does for the objects whose design asks for events:
// each member the form answers a sink for gets that sink advised. The form's
// sinks are event sinks of the runtime.
HRESULT SimulatedForm1::connectHandledMembers() {
  HRESULT status = S_OK;
  const std::span<ComPtr<IUnknown>> slots = form1_->memberSlots();
  for (size_t id = 0; id < slots.size(); ++id) {
    IDispatch* sink = form1_->eventSinkForMember(static_cast<DISPID>(id));
    if (!sink) continue;
    ComPtr<rt::EventSink> connected(static_cast<rt::EventSink*>(sink));
    const HRESULT hr = connected->connect(slots[id].Get());
    if (FAILED(hr)) status = hr;
    sinks_.push_back(std::move(connected));
  }
  return status;
}

SimulatedForm1::~SimulatedForm1() {
  for (ComPtr<rt::EventSink>& sink : sinks_)
    sink->disconnect();
  if (sckServer) sckServer->Close();
  if (sckClient) sckClient->Close();
}

}  // namespace skiffwire
