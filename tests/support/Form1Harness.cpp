#include "support/Form1Harness.h"

#include "app/form1/Form1Program.h"
#include "app/udp/HostedUdpSocket.h"
#include "runtime/com/ComObject.h"
#include "runtime/controls/ControlClasses.h"
#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/FileTable.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowCreation.h"
#include "support/AppTestSupport.h"

namespace skiffwire::testing {

class CountingYield final : public rt::ComObject<CountingYield, IYield> {
 public:
  explicit CountingYield(ComPtr<IYield> inner) : inner_(std::move(inner)) {}
  HRESULT GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, lcid, info);
  }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    return inner_->GetIDsOfNames(riid, names, count, lcid, ids);
  }
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override {
    return inner_->Invoke(id, riid, lcid, flags, params, result, excep, argErr);
  }
  HRESULT DoEvents(SHORT* loadedForms) override {
    ++calls;
    return inner_->DoEvents(loadedForms);
  }
  int calls = 0;

 private:
  friend class rt::ComObject<CountingYield, IYield>;
  ~CountingYield() override = default;
  ComPtr<IYield> inner_;
};

namespace {

ComPtr<IYield> RuntimeYield() {
  ComPtr<IUnknown> object;
  ComPtr<IYield> yield;
  if (SUCCEEDED(rt::CreateYieldObject(object.ReleaseAndGetAddressOf()))) object.As(yield);
  return yield;
}

template <typename Driver>
std::unique_ptr<Driver> Drive(IUnknown* control, const DriverContext& context) {
  return std::make_unique<Driver>(control, context);
}

}  // namespace

Form1Harness::Form1Harness() {
  // The process entry's start-up steps the application relies on.
  rt::BuildErrorMessageTable();
  rt::FileTable::Create();
  PrepareFormsEngine();
  const std::span<const BYTE> design = ProgramDesign();
  status_ = rt::StartFormsEngine(design.data(), design.size());
  if (FAILED(status_)) return;
  yield_ = rt::MakeComObject<CountingYield>(RuntimeYield());
  status_ = CreateForm1(form1_, yield_);
  if (FAILED(status_)) return;

  const DriverContext& d = context_;
  form = Drive<FormDriver>(slot(member::Form1), d);
  txtIpAddress = Drive<TextBoxDriver>(slot(member::txtIpAddress), d);
  txtPort = Drive<TextBoxDriver>(slot(member::txtPort), d);
  txtClearString = Drive<TextBoxDriver>(slot(member::txtClearString), d);
  txtTestString = Drive<TextBoxDriver>(slot(member::txtTestString), d);
  txtWaitState = Drive<TextBoxDriver>(slot(member::txtWaitState), d);
  txtPacketLen = Drive<TextBoxDriver>(slot(member::txtPacketLen), d);
  txtTimeOut = Drive<TextBoxDriver>(slot(member::txtTimeOut), d);
  txtRetry = Drive<TextBoxDriver>(slot(member::txtRetry), d);
  txtDatagram = Drive<TextBoxDriver>(slot(member::txtDatagram), d);
  txtProcess = Drive<TextBoxDriver>(slot(member::txtProcess), d);
  cmdConnect = Drive<ButtonDriver>(slot(member::cmdConnect), d);
  cmdSaveSettings = Drive<ButtonDriver>(slot(member::cmdSaveSettings), d);
  cmdString = Drive<ButtonDriver>(slot(member::cmdString), d);
  cmdClear = Drive<ButtonDriver>(slot(member::cmdClear), d);
  cmdClearDatagram = Drive<ButtonDriver>(slot(member::cmdClearDatagram), d);
  cmdSendDataGram = Drive<ButtonDriver>(slot(member::cmdSendDataGram), d);
  lblChecksum = Drive<LabelDriver>(slot(member::lblChecksum), d);
  lblDatagramLength = Drive<LabelDriver>(slot(member::lblDatagramLength), d);
  lblPacketQty = Drive<LabelDriver>(slot(member::lblPacketQty), d);
  chkSTX = Drive<CheckBoxDriver>(slot(member::chkSTX), d);
  chkEOT = Drive<CheckBoxDriver>(slot(member::chkEOT), d);
  chkChecksum = Drive<CheckBoxDriver>(slot(member::chkChecksum), d);
  shpConnected = Drive<ShapeDriver>(slot(member::shpConnected), d);
  tmrTimeout = Drive<TimerDriver>(slot(member::tmrTimeout), d);
  sckServer = hostedSocket(member::sckServer);
  sckClient = hostedSocket(member::sckClient);
}

Form1Harness::~Form1Harness() {
  tmrTimeout.reset();
  if (form1_ && IsWindow(window())) unload();
  sckServer.Reset();
  sckClient.Reset();
  form1_.Reset();
  rt::ResetEngineContext();
}

IUnknown* Form1Harness::slot(DISPID member) const {
  return form1_->memberSlots()[static_cast<size_t>(member)].Get();
}

ComPtr<rt::ActiveXControlExtender> Form1Harness::extenderAt(DISPID member) const {
  ComPtr<rt::ActiveXControlExtender> extender;
  ComPtr<IUnknown>(slot(member)).As(extender);
  return extender;
}

ComPtr<IUdpSocket> Form1Harness::hostedSocket(DISPID member) const {
  ComPtr<rt::ActiveXControlExtender> extender = extenderAt(member);
  if (!extender) return nullptr;
  return rt::MakeComObject<HostedUdpSocket>(std::move(extender));
}

UdpSocket& Form1Harness::socket(DISPID member) {
  ComPtr<IUdpSocket> control;
  extenderAt(member)->hosted(control);
  return *static_cast<UdpSocket*>(control.Get());
}

int Form1Harness::yields() const {
  return yield_ ? yield_->calls : 0;
}

HWND Form1Harness::window() const {
  rt::EngineControl* object = form1_ ? form1_->formObject() : nullptr;
  rt::FormState* state = object ? rt::FindFormState(object) : nullptr;
  return state ? state->windowHandle : nullptr;
}

void Form1Harness::ensureLoaded() {
  if (rt::EngineControl* object = form1_ ? form1_->formObject() : nullptr) {
    rt::EnsureFormIsLoaded(object);
  }
}

void Form1Harness::ensureShown() {
  if (!IsWindowVisible(window())) load();
}

void Form1Harness::load() {
  if (!form1_) return;
  DISPID show = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(u"Show")};
  if (FAILED(form1_->GetIDsOfNames(IID_NULL, names, 1, 0, &show))) return;
  DISPPARAMS none{};
  form1_->Invoke(show, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  PumpPending();
}

bool Form1Harness::unload() {
  HWND hwnd = window();
  if (!hwnd) return true;
  SendMessageW(hwnd, WM_CLOSE, 0, 0);
  PumpPending();
  return !IsWindow(hwnd);
}

}  // namespace skiffwire::testing
