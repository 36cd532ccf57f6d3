#include "app/form1/Form1.h"

#include "runtime/core/ProcedureFrame.h"

namespace skiffwire {

using namespace rt;

namespace {

// The event argument at `position` (0 is the first declared) of DISPPARAMS,
// which holds the arguments reversed.
const VARIANT* Argument(const DISPPARAMS& arguments, UINT position) {
  if (position >= arguments.cArgs) return nullptr;
  return &arguments.rgvarg[arguments.cArgs - 1 - position];
}

LONG LongArgument(const DISPPARAMS& arguments, UINT position) {
  const VARIANT* argument = Argument(arguments, position);
  if (!argument) return 0;
  Variant converted;
  if (FAILED(VariantChangeType(converted.out(), argument, 0, VT_I4))) return 0;
  return converted.lVal;
}

}  // namespace

Form1::Form1(Form1Controls controls) : c_(std::move(controls)) {}

Form1::~Form1() {
  disconnectEvents();
}

void Form1::addSink(IUnknown* source, const IID& events, rt::EventSink::Handler handler) {
  ComPtr<rt::EventSink> sink = rt::MakeComObject<rt::EventSink>(events, std::move(handler));
  if (SUCCEEDED(sink->connect(source))) sinks_.push_back(std::move(sink));
}

HRESULT Form1::connectEvents() {
  disconnectEvents();
  auto on = [this](DISPID wanted, HRESULT (Form1::*handler)()) {
    return [this, wanted, handler](DISPID event, const DISPPARAMS&) {
      return event == wanted ? (this->*handler)() : S_OK;
    };
  };
  addSink(c_.form.Get(), DIID_FormEvents, [this](DISPID event, const DISPPARAMS& arguments) {
    if (event == kFormLoadEvent) return Form_Load();
    if (event != kFormUnloadEvent) return S_OK;
    const VARIANT* cancel = Argument(arguments, 0);
    SHORT ignored = 0;
    return Form_Unload(cancel && cancel->vt == (VT_I2 | VT_BYREF) ? cancel->piVal : &ignored);
  });
  addSink(c_.cmdConnect.Get(), DIID_CommandButtonEvents, on(kClickEvent, &Form1::cmdConnect_Click));
  addSink(c_.cmdSendDataGram.Get(), DIID_CommandButtonEvents,
          on(kClickEvent, &Form1::cmdSendDataGram_Click));
  addSink(c_.cmdString.Get(), DIID_CommandButtonEvents, on(kClickEvent, &Form1::cmdString_Click));
  addSink(c_.cmdClear.Get(), DIID_CommandButtonEvents, on(kClickEvent, &Form1::cmdClear_Click));
  addSink(c_.cmdClearDatagram.Get(), DIID_CommandButtonEvents,
          on(kClickEvent, &Form1::cmdClearDatagram_Click));
  addSink(c_.cmdSaveSettings.Get(), DIID_CommandButtonEvents,
          on(kClickEvent, &Form1::cmdSaveSettings_Click));
  addSink(c_.txtDatagram.Get(), DIID_TextBoxEvents, on(kChangeEvent, &Form1::UpdateChecksum));
  addSink(c_.txtPacketLen.Get(), DIID_TextBoxEvents, on(kChangeEvent, &Form1::txtPacketLen_Change));
  addSink(c_.tmrTimeout.Get(), DIID_TimerEvents, on(kTimerEvent, &Form1::tmrTimeout_Timer));
  addSink(c_.sckServer.Get(), DIID_UdpSocketEvents,
          [this](DISPID event, const DISPPARAMS& arguments) {
            return event == kDataArrivalEvent ? sckServer_DataArrival(LongArgument(arguments, 0))
                                              : S_OK;
          });
  constexpr size_t kHandledSources = 11;
  return sinks_.size() == kHandledSources ? S_OK : CONNECT_E_CANNOTCONNECT;
}

void Form1::disconnectEvents() {
  for (ComPtr<rt::EventSink>& sink : sinks_)
    sink->disconnect();
  sinks_.clear();
}

HRESULT Form1::Form_Load() {
  enum Stmt : StatementIndex { kCaption, kSettings, kState };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "Form_Load", ReturnKind::Status,
      {Site::ObjectCall(kCaption), Site::ObjectCall(kSettings), Site::ObjectCall(kState)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kCaption:
        frame.check(kCaption, c_.form->put_Caption(Bstr(u"Skiffwire Ver1.0a").get()));
        return Step;
      case kSettings:
        frame.check(kSettings, LoadSettings());
        return Step;
      case kState:
        frame.check(kState, ShowConnectionState());
        return Exit;
    }
    return Exit;
  });
}

}  // namespace skiffwire
