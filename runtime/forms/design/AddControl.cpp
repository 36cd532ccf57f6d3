#include "runtime/forms/design/AddControl.h"

#include <algorithm>

#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/WindowRecord.h"
#include "runtime/forms/arrays/FormControls.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/Layout.h"

namespace rt {
namespace {

constexpr int kErrMenuNotAddable = 720;
constexpr int kErrNameInUse = 727;
constexpr char16_t kNameInUseText[] = u"There is already a control with the same name";
// Window records that ask for their container's events by flag.
constexpr uint32_t kEventFlags = 0x60000000;

struct TypeIdEntry {
  std::u16string_view typeId;
  CLSID clsid;
};

constexpr CLSID Intrinsic(uint32_t data1) {
  return {data1, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};
}

constexpr TypeIdEntry kTypeIds[] = {
    {u"Nx.CommandButton", Intrinsic(0x33AD4EF0)},
    {u"Nx.CheckBox", Intrinsic(0x33AD4EF8)},
    {u"Nx.ComboBox", Intrinsic(0x33AD4F08)},
    {u"Nx.DirListBox", Intrinsic(0x33AD4F58)},
    {u"Nx.DriveListBox", Intrinsic(0x33AD4F50)},
    {u"Nx.FileListBox", Intrinsic(0x33AD4F60)},
    {u"Nx.Frame", Intrinsic(0x33AD4EE8)},
    {u"Nx.HScrollBar", Intrinsic(0x33AD4F18)},
    {u"Nx.Image", Intrinsic(0x33AD4F90)},
    {u"Nx.Label", Intrinsic(0x33AD4ED8)},
    {u"Nx.Line", Intrinsic(0x33AD4F88)},
    {u"Nx.ListBox", Intrinsic(0x33AD4F10)},
    {u"Nx.OptionButton", Intrinsic(0x33AD4F00)},
    {u"Nx.PictureBox", Intrinsic(0x33AD4ED0)},
    {u"Nx.Shape", Intrinsic(0x33AD4F80)},
    {u"Nx.TextBox", Intrinsic(0x33AD4EE0)},
    {u"Nx.Timer", Intrinsic(0x33AD4F28)},
    {u"Nx.VScrollBar", Intrinsic(0x33AD4F20)},
    {u"Nx.DTPicker",
     {0x02E8FCDC, 0x84BC, 0x4E60, {0x99, 0x6F, 0xD9, 0x96, 0x78, 0xA1, 0x46, 0x04}}},
    {u"Nx.ListView",
     {0xED6464B0, 0x4324, 0x4E2E, {0x8A, 0x17, 0x83, 0xA8, 0x1F, 0x9D, 0x48, 0xDD}}},
    {u"Nx.MonthView",
     {0x1AC604F6, 0xCF3D, 0x4661, {0xBF, 0xE3, 0x85, 0x8D, 0xE6, 0x44, 0x9E, 0x8C}}},
    {u"Nx.ProgressBar",
     {0x60728020, 0x5535, 0x491E, {0xBE, 0xDE, 0x44, 0x9A, 0x3C, 0xDE, 0x96, 0xEA}}},
    {u"Nx.Slider", {0xFE755F8E, 0x4EF9, 0x42A4, {0xA8, 0x8B, 0xB8, 0x76, 0xEF, 0x5B, 0x44, 0x50}}},
    {u"Nx.TreeView",
     {0x606188C0, 0x9C81, 0x493B, {0x8B, 0xDE, 0x02, 0xBD, 0x49, 0xB9, 0x18, 0xC5}}},
    {u"Nx.UpDown", {0x98E78A9F, 0x2720, 0x4A7F, {0xA3, 0x20, 0x90, 0x54, 0x36, 0x92, 0x47, 0x46}}},
};

char16_t LowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return LowerAscii(x) == LowerAscii(y); });
}

HRESULT NameInUse() {
  const HRESULT status = SetErrorFromStatus(ErrorStatus(kErrNameInUse));
  if (!ErrorMessage(kErrNameInUse)) {
    ThreadErrorContext& context = CurrentErrorContext();
    context.error.description = Bstr(kNameInUseText);
    context.registerErrorInfo();
  }
  return status;
}

bool NameTaken(FormState& form, std::u16string_view name) {
  return std::any_of(form.records().begin(), form.records().end(), [&](const auto& record) {
    return !record->removed && record->container && EqualsAsciiNoCase(record->name, name);
  });
}

ControlRecord* RecordOf(FormState& form, EngineControl* control) {
  if (!control) return &form.root();
  for (const auto& record : form.records()) {
    if (!record->removed && ObjectOf(*record) == control) return record.get();
  }
  return nullptr;
}

}  // namespace

HRESULT ClassIdOfTypeId(std::u16string_view typeId, CLSID* clsid) {
  if (EqualsAsciiNoCase(typeId, u"Nx.Menu")) {
    return SetErrorFromStatus(ErrorStatus(kErrMenuNotAddable));
  }
  for (const TypeIdEntry& entry : kTypeIds) {
    if (EqualsAsciiNoCase(typeId, entry.typeId)) {
      *clsid = entry.clsid;
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT AddControl(FormState& form, std::u16string_view typeId, std::u16string_view name,
                   EngineControl* container, EngineControl** out) {
  *out = nullptr;
  CLSID clsid{};
  HRESULT hr = ClassIdOfTypeId(typeId, &clsid);
  if (FAILED(hr)) return hr;
  if (NameTaken(form, name)) return NameInUse();

  ComPtr<IUnknown> object;
  hr = CurrentClassRegistry().createForDesign(clsid, &object);
  if (FAILED(hr)) return hr;
  const ComPtr<EngineControl> control = QueryInterfaceOf<EngineControl>(object.Get());
  if (!control) return E_NOINTERFACE;
  ControlRecord* containerRecord = RecordOf(form, container);
  if (!containerRecord) return E_INVALIDARG;  // not a control of this form

  ControlRecord& record = form.newControlRecord();
  record.container = containerRecord;
  record.object = control;
  record.createdAtRunTime = true;
  record.name = std::u16string(name);
  control->attachRecord(record);
  hr = control->fillWindowRecord(record.window);
  // A new control starts invisible, whatever its class asks for.
  record.window.style &= ~WS_VISIBLE;
  record.window.visibleRequested = false;
  if (SUCCEEDED(hr)) hr = LayoutControl(record);
  if (FAILED(hr)) {
    record.removed = true;
    control->terminate();
    return hr;
  }
  control->postLoad();
  if (record.window.asksForEvents || (record.window.flags & kEventFlags)) {
    if (const auto sink = QueryInterfaceOf<WindowEventSink>(control.Get())) {
      AddEventSink(containerRecord->window, sink.Get());
    }
  }
  containerRecord->children.push_back(&record);
  // The form's controls collection lists it after the designed controls.
  if (FormControls* controls = FindFormControls(form.formObject)) {
    if (ControlsCollection* collection = controls->collection()) {
      collection->addRunTimeControl(control.Get());
    }
  }
  control.CopyTo(out);
  return S_OK;
}

}  // namespace rt
