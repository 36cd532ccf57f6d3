#include "runtime/controls/ControlClasses.h"

#include "app/members/IYield.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/Shape.h"
#include "runtime/controls/TextBox.h"
#include "runtime/controls/Timer.h"
#include "runtime/controls/extender/ActiveXControlExtender.h"
#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"
#include "runtime/forms/MessagePump.h"

namespace rt {
namespace {

template <typename T>
HRESULT Create(IUnknown** out) {
  if (!out) return E_POINTER;
  ComPtr<T> object = MakeComObject<T>();
  IUnknown* unknown = object->unknown();
  unknown->AddRef();
  *out = unknown;
  return S_OK;
}

// DoEvents: every message already queued is dispatched; the answer is the
// number of loaded forms.
class YieldObject final : public ComObject<YieldObject, skiffwire::IYield> {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT DoEvents(SHORT* loadedForms) override {
    const SHORT count = Yield();
    if (loadedForms) *loadedForms = count;
    return S_OK;
  }

 private:
  friend class ComObject<YieldObject, skiffwire::IYield>;
  ~YieldObject() override = default;
};

constexpr ClassRegistryEntry kTable[] = {
    {&Create<Form>, CLSID_Form, {}},
    {&Create<TextBox>, CLSID_TextBox, {}},
    {&Create<CommandButton>, CLSID_CommandButton, {}},
    {&Create<Label>, CLSID_Label, {}},
    {&Create<Frame>, CLSID_Frame, {}},
    {&Create<CheckBox>, CLSID_CheckBox, {}},
    {&Create<Timer>, CLSID_Timer, {}},
    {&Create<Shape>, CLSID_Shape, {}},
    {&Create<ActiveXControlExtender>, CLSID_ActiveXControlExtender, {}},
    {nullptr, {}, {}},
};

}  // namespace

const ClassRegistryEntry* ControlClassTable() {
  return kTable;
}

HRESULT CreateYieldObject(IUnknown** out) {
  return Create<YieldObject>(out);
}

void RegisterControlPropertyLayouts() {
  for (const PropertyLayout* layout :
       {&kFormLayout, &kTextBoxLayout, &kCommandButtonLayout, &kLabelLayout, &kFrameLayout,
        &kCheckBoxLayout, &kTimerLayout, &kShapeLayout, &kActiveXControlExtenderLayout}) {
    RegisterPropertyLayout(*layout);
  }
}

}  // namespace rt
