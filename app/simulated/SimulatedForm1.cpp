#include "app/simulated/SimulatedForm1.h"

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
  Form1Controls controls;
  controls.form = form;
  controls.txtIpAddress = txtIpAddress;
  controls.txtPort = txtPort;
  controls.txtClearString = txtClearString;
  controls.txtTestString = txtTestString;
  controls.txtWaitState = txtWaitState;
  controls.txtPacketLen = txtPacketLen;
  controls.txtTimeOut = txtTimeOut;
  controls.txtRetry = txtRetry;
  controls.txtDatagram = txtDatagram;
  controls.txtProcess = txtProcess;
  controls.cmdConnect = cmdConnect;
  controls.cmdSaveSettings = cmdSaveSettings;
  controls.cmdString = cmdString;
  controls.cmdClear = cmdClear;
  controls.cmdClearDatagram = cmdClearDatagram;
  controls.cmdSendDataGram = cmdSendDataGram;
  controls.lblChecksum = lblChecksum;
  controls.lblDatagramLength = lblDatagramLength;
  controls.lblPacketQty = lblPacketQty;
  controls.chkSTX = chkSTX;
  controls.chkEOT = chkEOT;
  controls.chkChecksum = chkChecksum;
  controls.shpConnected = shpConnected;
  controls.tmrTimeout = tmrTimeout;
  controls.sckServer = sckServer;
  controls.sckClient = sckClient;
  controls.runtime = runtime;
  form1_ = std::make_unique<Form1>(std::move(controls));
  status_ = form1_->connectEvents();
}

SimulatedForm1::~SimulatedForm1() {
  if (form1_) form1_->disconnectEvents();
  if (sckServer) sckServer->Close();
  if (sckClient) sckClient->Close();
}

}  // namespace skiffwire
