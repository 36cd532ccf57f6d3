#include "runtime/controls/BaseForm.h"

#include "runtime/controls/ControlIds.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"

namespace rt {
namespace {

// "MDI child forms cannot be shown modally"
constexpr int kModalMdiChild = 404;

}  // namespace

BaseForm::BaseForm(IDispatch* outer) : rectBase_(std::make_unique<BaseControlRect>(outer)) {}

BaseForm::~BaseForm() = default;

const ClassDescriptor& BaseForm::descriptor() const {
  static const ClassDescriptor cls{u"BaseForm", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseForm::Members() {
  using T = BaseForm;
  static const MemberTable table = [] {
    MemberTable t;
    t.add(u"Show",
          {dispid::Show, nullptr, nullptr,
           [](DispatchObject& self, std::span<VARIANT> args, VARIANT*) {
             SHORT modal = 0;
             if (!args.empty() && args[0].vt != VT_ERROR) {
               Variant asShort;
               const HRESULT converted = ConvertArgument(args[0], VT_I2, asShort);
               if (FAILED(converted)) return converted;
               modal = asShort.iVal;
             }
             IUnknown* owner = nullptr;
             if (args.size() > 1 && (args[1].vt == VT_DISPATCH || args[1].vt == VT_UNKNOWN)) {
               owner = args[1].punkVal;
             }
             return static_cast<T&>(self).show(modal, owner);
           }},
          false);
    t.method(u"Hide", dispid::Hide, &T::Hide);
    t.property<VT_I2>(u"WindowState", dispid::WindowState, &T::getWindowState, &T::putWindowState);
    t.text(u"Caption", dispid::Caption, &T::getCaption, &T::putCaption);
    t.field<VT_I2>(u"BorderStyle", dispid::BorderStyle, &T::borderStyle_);
    t.field<VT_BOOL>(u"ControlBox", dispid::ControlBox, &T::controlBox_);
    t.field<VT_BOOL>(u"MaxButton", dispid::MaxButton, &T::maxButton_);
    t.field<VT_BOOL>(u"MinButton", dispid::MinButton, &T::minButton_);
    t.field<VT_BOOL>(u"KeyPreview", dispid::KeyPreview, &T::keyPreview_);
    t.field<VT_I2>(u"StartUpPosition", dispid::StartUpPosition, &T::startUpPosition_);
    t.forward(BaseControlRect::Members(), &T::rectBase);
    return t;
  }();
  return table;
}

EngineControl* BaseForm::engineForm() {
  IDispatch* outer = rectBase_ && rectBase_->base() ? rectBase_->base()->outer() : nullptr;
  if (!outer) return nullptr;
  ComPtr<EngineControl> form;
  outer->QueryInterface(IID_EngineControl, reinterpret_cast<void**>(&form));
  return form.Get();  // the outer object keeps itself alive
}

HRESULT BaseForm::show(SHORT modal, IUnknown* owner) {
  if (modal && mdiChild_) return SetErrorFromStatus(ErrorStatus(kModalMdiChild));
  EngineControl* form = engineForm();
  if (!form) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  ComPtr<EngineControl> ownerForm;
  if (owner) owner->QueryInterface(IID_EngineControl, reinterpret_cast<void**>(&ownerForm));
  return rt::Show(form, modal, ownerForm.Get());
}

HRESULT BaseForm::Hide() {
  EngineControl* form = engineForm();
  if (!form) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return rt::Hide(form);
}

// The platform has no window placement record, so the state is read from
// and applied through the minimized and maximized states of the window.
HRESULT BaseForm::getWindowState(SHORT* state) {
  if (!state) return E_POINTER;
  HWND hwnd = rectBase_->hwnd();
  if (!hwnd) {
    *state = windowState_;
    return S_OK;
  }
  *state = IsIconic(hwnd) ? 1 : IsZoomed(hwnd) ? 2 : 0;
  return S_OK;
}

HRESULT BaseForm::putWindowState(SHORT state) {
  windowState_ = state;
  HWND hwnd = rectBase_->hwnd();
  if (!hwnd || !IsWindowVisible(hwnd)) return S_OK;
  ShowWindow(hwnd, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
  return S_OK;
}

HRESULT BaseForm::getCaption(BSTR* caption) {
  return rectBase_->windowText(caption);
}

HRESULT BaseForm::putCaption(BSTR caption) {
  return rectBase_->setWindowText(caption);
}

void BaseForm::fillSettings(FormSettings& settings) const {
  settings.borderStyle = borderStyle_;
  settings.controlBox = controlBox_ != 0;
  settings.maxButton = maxButton_ != 0;
  settings.minButton = minButton_ != 0;
  settings.keyPreview = keyPreview_ != 0;
  settings.startUpPosition = startUpPosition_;
  settings.windowState = windowState_;
}

}  // namespace rt
