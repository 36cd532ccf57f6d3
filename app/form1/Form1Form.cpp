#include "app/form1/Form1Form.h"

#include "app/udp/HostedUdpSocket.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/design/FormDesignLoader.h"

namespace skiffwire {

namespace {

// The members whose events Form1 handles, and the event interface each
// member's sink answers.
struct HandledMember {
  DISPID member;
  const IID* events;
};

constexpr HandledMember kHandled[] = {
    {member::Form1, &DIID_FormEvents},
    {member::cmdConnect, &DIID_CommandButtonEvents},
    {member::sckServer, &DIID_UdpSocketEvents},
    {member::txtPacketLen, &DIID_TextBoxEvents},
    {member::txtDatagram, &DIID_TextBoxEvents},
    {member::tmrTimeout, &DIID_TimerEvents},
    {member::cmdSaveSettings, &DIID_CommandButtonEvents},
    {member::cmdString, &DIID_CommandButtonEvents},
    {member::cmdClear, &DIID_CommandButtonEvents},
    {member::cmdClearDatagram, &DIID_CommandButtonEvents},
    {member::cmdSendDataGram, &DIID_CommandButtonEvents},
};

const HandledMember* FindHandled(DISPID memberId) {
  for (const HandledMember& handled : kHandled) {
    if (handled.member == memberId) return &handled;
  }
  return nullptr;
}

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

// The interface of slot `id`, or fails.
template <typename Interface>
HRESULT Take(std::span<ComPtr<IUnknown>> slots, DISPID id, ComPtr<Interface>& out) {
  const ComPtr<IUnknown>& object = slots[static_cast<size_t>(id)];
  if (!object) return E_NOINTERFACE;
  return object.As(out);
}

// A socket slot holds the extender the design created (its typed view is
// the hosted control's interface), or a control that is the interface
// itself.
HRESULT TakeSocket(std::span<ComPtr<IUnknown>> slots, DISPID id, ComPtr<IUdpSocket>& out) {
  const ComPtr<IUnknown>& object = slots[static_cast<size_t>(id)];
  if (!object) return E_NOINTERFACE;
  ComPtr<rt::ActiveXControlExtender> extender;
  if (FAILED(object.As(extender))) return object.As(out);
  out = rt::MakeComObject<HostedUdpSocket>(std::move(extender));
  return S_OK;
}

}  // namespace

Form1Form::Form1Form(ComPtr<IYield> runtime) : runtime_(std::move(runtime)) {}

Form1Form::~Form1Form() {
  // The connections the design made hold the connected controls' event
  // points; they go with the instance.
  rt::DisconnectFormDesign(*this);
}

IDispatch* Form1Form::eventSinkForMember(DISPID memberId) {
  const HandledMember* handled = FindHandled(memberId);
  if (!handled) return nullptr;
  ComPtr<rt::EventSink>& sink = sinks_[static_cast<size_t>(memberId)];
  if (!sink) {
    sink = rt::MakeComObject<rt::EventSink>(
        *handled->events, [this, memberId](DISPID event, const DISPPARAMS& arguments) {
          return handle(memberId, event, arguments);
        });
  }
  return sink.Get();
}

rt::EngineControl* Form1Form::formObject() {
  ComPtr<rt::EngineControl> form;
  if (!slots_[member::Form1] || FAILED(slots_[member::Form1].As(form))) return nullptr;
  return form.Get();  // not counted: slot 0 keeps the object
}

IDispatch* Form1Form::formDispatch() {
  ComPtr<IDispatch> form;
  if (!slots_[member::Form1] || FAILED(slots_[member::Form1].As(form))) return nullptr;
  return form.Get();
}

HRESULT Form1Form::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
  IDispatch* form = formDispatch();
  if (!form) return DISP_E_UNKNOWNNAME;
  return form->GetIDsOfNames(riid, names, count, lcid, ids);
}

HRESULT Form1Form::Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                          VARIANT* result, EXCEPINFO* excep, UINT* argErr) {
  IDispatch* form = formDispatch();
  if (!form) return DISP_E_MEMBERNOTFOUND;
  return form->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
}

HRESULT Form1Form::bind() {
  Form1Controls c;
  c.runtime = runtime_;
  const std::span<ComPtr<IUnknown>> s = slots_;
  const HRESULT results[] = {
      Take(s, member::Form1, c.form),
      Take(s, member::txtIpAddress, c.txtIpAddress),
      Take(s, member::txtPort, c.txtPort),
      Take(s, member::cmdConnect, c.cmdConnect),
      Take(s, member::shpConnected, c.shpConnected),
      Take(s, member::txtClearString, c.txtClearString),
      Take(s, member::txtTestString, c.txtTestString),
      TakeSocket(s, member::sckServer, c.sckServer),
      TakeSocket(s, member::sckClient, c.sckClient),
      Take(s, member::txtWaitState, c.txtWaitState),
      Take(s, member::txtPacketLen, c.txtPacketLen),
      Take(s, member::chkSTX, c.chkSTX),
      Take(s, member::chkEOT, c.chkEOT),
      Take(s, member::chkChecksum, c.chkChecksum),
      Take(s, member::txtTimeOut, c.txtTimeOut),
      Take(s, member::txtRetry, c.txtRetry),
      Take(s, member::txtDatagram, c.txtDatagram),
      Take(s, member::lblChecksum, c.lblChecksum),
      Take(s, member::lblDatagramLength, c.lblDatagramLength),
      Take(s, member::lblPacketQty, c.lblPacketQty),
      Take(s, member::txtProcess, c.txtProcess),
      Take(s, member::tmrTimeout, c.tmrTimeout),
      Take(s, member::cmdSaveSettings, c.cmdSaveSettings),
      Take(s, member::cmdString, c.cmdString),
      Take(s, member::cmdClear, c.cmdClear),
      Take(s, member::cmdClearDatagram, c.cmdClearDatagram),
      Take(s, member::cmdSendDataGram, c.cmdSendDataGram),
  };
  for (HRESULT result : results) {
    if (FAILED(result)) return E_NOINTERFACE;
  }
  code_ = std::make_unique<Form1>(std::move(c));
  return S_OK;
}

// The handler table: which procedure of Form1 runs for which event of which
// member. No other event of any member is handled.
HRESULT Form1Form::handle(DISPID memberId, DISPID event, const DISPPARAMS& arguments) {
  Form1* form = code_.get();
  if (!form) return S_OK;
  switch (memberId) {
    case member::Form1:
      if (event == kFormLoadEvent) return form->Form_Load();
      if (event == kFormUnloadEvent) {
        const VARIANT* cancel = Argument(arguments, 0);
        SHORT ignored = 0;
        return form->Form_Unload(cancel && cancel->vt == (VT_I2 | VT_BYREF) ? cancel->piVal
                                                                            : &ignored);
      }
      return S_OK;
    case member::cmdConnect:
      return event == kClickEvent ? form->cmdConnect_Click() : S_OK;
    case member::cmdSendDataGram:
      return event == kClickEvent ? form->cmdSendDataGram_Click() : S_OK;
    case member::cmdString:
      return event == kClickEvent ? form->cmdString_Click() : S_OK;
    case member::cmdClear:
      return event == kClickEvent ? form->cmdClear_Click() : S_OK;
    case member::cmdClearDatagram:
      return event == kClickEvent ? form->cmdClearDatagram_Click() : S_OK;
    case member::cmdSaveSettings:
      return event == kClickEvent ? form->cmdSaveSettings_Click() : S_OK;
    case member::txtDatagram:
      return event == kChangeEvent ? form->UpdateChecksum() : S_OK;
    case member::txtPacketLen:
      return event == kChangeEvent ? form->txtPacketLen_Change() : S_OK;
    case member::sckServer:
      return event == kDataArrivalEvent ? form->sckServer_DataArrival(LongArgument(arguments, 0))
                                        : S_OK;
    case member::tmrTimeout:
      return event == kTimerEvent ? form->tmrTimeout_Timer() : S_OK;
  }
  return S_OK;
}

}  // namespace skiffwire
