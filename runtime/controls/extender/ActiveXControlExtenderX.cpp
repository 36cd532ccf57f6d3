#include "runtime/controls/extender/ActiveXControlExtenderX.h"

#include <string_view>

#include "platform/kernel.h"
#include "platform/oleauto.h"
#include "runtime/controls/extender/ActiveXControlExtender.h"
#include "runtime/controls/extender/FormInPlaceFrame.h"

namespace rt {

namespace {

struct MemberName {
  std::u16string_view name;
  DISPID id;
};

constexpr MemberName kMembers[] = {
    {u"Name", ActiveXControlExtenderX::kName},
    {u"Index", ActiveXControlExtenderX::kIndex},
    {u"Left", ActiveXControlExtenderX::kLeft},
    {u"Top", ActiveXControlExtenderX::kTop},
    {u"Width", ActiveXControlExtenderX::kWidth},
    {u"Height", ActiveXControlExtenderX::kHeight},
    {u"Visible", ActiveXControlExtenderX::kVisible},
    {u"Enabled", ActiveXControlExtenderX::kEnabled},
    {u"Tag", ActiveXControlExtenderX::kTag},
};

bool SameName(const char16_t* given, std::u16string_view name) {
  if (!given) return false;
  const std::u16string_view text(given);
  return text.size() == name.size() &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, given, static_cast<int>(text.size()),
                        name.data(), static_cast<int>(name.size())) == CSTR_EQUAL;
}

void PutText(VARIANT* result, std::u16string_view text) {
  result->vt = VT_BSTR;
  result->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

void PutDouble(VARIANT* result, double value) {
  result->vt = VT_R8;
  result->dblVal = value;
}

void PutBool(VARIANT* result, bool value) {
  result->vt = VT_BOOL;
  result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void PutColour(VARIANT* result, OLE_COLOR colour) {
  result->vt = VT_I4;
  result->lVal = static_cast<LONG>(colour);
}

}  // namespace

const char16_t* ScaleUnitsName(int scaleMode) {
  switch (scaleMode) {
    case 0:
      return u"User";
    case 1:
      return u"Twip";
    case 2:
      return u"Point";
    case 3:
    case -1:
      return u"Pixel";
    case 4:
      return u"Character";
    case 5:
      return u"Inch";
    case 6:
      return u"Millimeter";
    case 7:
      return u"Centimeter";
  }
  return u"Twip";
}

DISPID ActiveXControlExtenderX::memberId(const char16_t* name) {
  for (const MemberName& member : kMembers) {
    if (SameName(name, member.name)) return member.id;
  }
  return DISPID_UNKNOWN;
}

HRESULT ActiveXControlExtenderX::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                               DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  if (count != 1) return DISP_E_UNKNOWNNAME;
  ids[0] = memberId(names[0]);
  return ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT ActiveXControlExtenderX::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                        VARIANT* result, EXCEPINFO*, UINT*) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!params || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    return let(id, params->rgvarg[0]);
  }
  if (!result) return S_OK;
  VariantInit(result);
  return get(id, result);
}

HRESULT ActiveXControlExtenderX::get(DISPID id, VARIANT* result) {
  switch (id) {
    // Ambient properties: a running program, never a design surface.
    case DISPID_AMBIENT_SCALEUNITS:
      PutText(result, ScaleUnitsName(scaleMode_));
      return S_OK;
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
      PutBool(result, true);
      return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
      PutBool(result, false);
      return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
      PutText(result, base_.name);
      return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
      PutColour(result, backColor_);
      return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
      PutColour(result, foreColor_);
      return S_OK;
    case DISPID_AMBIENT_LOCALEID:
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(GetUserDefaultLCID());
      return S_OK;
    case kName:
      PutText(result, base_.name);
      return S_OK;
    case kIndex:
      result->vt = VT_I2;
      result->iVal = base_.index;
      return S_OK;
    case kLeft:
      PutDouble(result, base_.left);
      return S_OK;
    case kTop:
      PutDouble(result, base_.top);
      return S_OK;
    case kWidth:
      PutDouble(result, base_.width);
      return S_OK;
    case kHeight:
      PutDouble(result, base_.height);
      return S_OK;
    case kVisible:
      PutBool(result, base_.visible);
      return S_OK;
    case kEnabled:
      PutBool(result, base_.enabled);
      return S_OK;
    case kTag:
      PutText(result, base_.tag);
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT ActiveXControlExtenderX::let(DISPID id, const VARIANT& value) {
  const VARTYPE wanted = id == kName || id == kTag          ? VT_BSTR
                         : id == kVisible || id == kEnabled ? VT_BOOL
                         : id == kIndex                     ? VT_I2
                                                            : VT_R8;
  Variant converted;
  if (HRESULT hr = VariantChangeType(converted.out(), &value, 0, wanted); FAILED(hr)) return hr;
  switch (id) {
    case kName:
      // The name is fixed once the control is on the form.
      return DISP_E_MEMBERNOTFOUND;
    case kIndex:
      return DISP_E_MEMBERNOTFOUND;
    case kLeft:
      base_.left = converted.dblVal;
      return S_OK;
    case kTop:
      base_.top = converted.dblVal;
      return S_OK;
    case kWidth:
      base_.width = converted.dblVal;
      return S_OK;
    case kHeight:
      base_.height = converted.dblVal;
      return S_OK;
    case kVisible:
      base_.visible = converted.boolVal != VARIANT_FALSE;
      return S_OK;
    case kEnabled:
      base_.enabled = converted.boolVal != VARIANT_FALSE;
      return S_OK;
    case kTag:
      base_.tag.assign(converted.bstrVal ? converted.bstrVal : u"",
                       SysStringLen(converted.bstrVal));
      return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

// ---- Site ------------------------------------------------------------------

void* ActiveXControlExtenderX::queryExtraInterface(REFIID riid) {
  if (riid == IID_IOleInPlaceSite || riid == IID_IOleInPlaceSiteEx || riid == IID_IOleWindow) {
    return static_cast<IOleInPlaceSiteWindowless*>(this);
  }
  if (riid == IID_IParseDisplayName) return static_cast<IOleContainer*>(this);
  return nullptr;
}

HRESULT ActiveXControlExtenderX::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  // Forms are not linked documents: nothing names the control from outside.
  return E_NOTIMPL;
}

HRESULT ActiveXControlExtenderX::GetContainer(IOleContainer** container) {
  if (!container) return E_POINTER;
  *container = this;
  AddRef();
  return S_OK;
}

HRESULT ActiveXControlExtenderX::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = host_;
  return host_ ? S_OK : E_FAIL;
}

HRESULT ActiveXControlExtenderX::OnInPlaceActivate() {
  inPlaceActive_ = true;
  return S_OK;
}

HRESULT ActiveXControlExtenderX::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) {
  if (noRedraw) *noRedraw = FALSE;
  // Windowless activation is not offered (CanWindowlessActivate).
  if (flags & ACTIVATE_WINDOWLESS) return E_FAIL;
  return OnInPlaceActivate();
}

HRESULT ActiveXControlExtenderX::OnInPlaceDeactivate() {
  inPlaceActive_ = false;
  return S_OK;
}

HRESULT ActiveXControlExtenderX::GetWindowContext(IOleInPlaceFrame** frame,
                                                  IOleInPlaceUIWindow** document, LPRECT position,
                                                  LPRECT clip, OLEINPLACEFRAMEINFO* frameInfo) {
  if (frame) *frame = nullptr;
  if (document) *document = nullptr;
  if (!frame || !document || !position || !clip) return E_POINTER;
  if (!host_) return E_FAIL;
  // The control fills its host window; the form is both frame and document.
  if (!GetClientRect(host_, position)) return E_FAIL;
  *clip = *position;
  ComPtr<FormInPlaceFrame> formFrame = MakeComObject<FormInPlaceFrame>(form_ ? form_ : host_);
  formFrame.CopyTo(reinterpret_cast<FormInPlaceFrame**>(frame));
  formFrame.CopyTo(reinterpret_cast<FormInPlaceFrame**>(document));
  if (frameInfo) {
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = form_ ? form_ : host_;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
  }
  return S_OK;
}

HRESULT ActiveXControlExtenderX::OnPosRectChange(LPCRECT position) {
  if (!position) return E_POINTER;
  // The host window is placed by the form's layout; the control keeps to it.
  return S_OK;
}

HRESULT ActiveXControlExtenderX::GetDC(LPCRECT, DWORD, HDC* dc) {
  if (dc) *dc = nullptr;
  // Only windowless controls draw through their site.
  return E_NOTIMPL;
}

HRESULT ActiveXControlExtenderX::InvalidateRect(LPCRECT rect, BOOL erase) {
  if (!host_) return E_FAIL;
  ::InvalidateRect(host_, rect, erase);
  return S_OK;
}

HRESULT ActiveXControlExtenderX::InvalidateRgn(HRGN region, BOOL erase) {
  if (!host_) return E_FAIL;
  ::InvalidateRgn(host_, region, erase);
  return S_OK;
}

HRESULT ActiveXControlExtenderX::OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT* result) {
  if (result) *result = 0;
  return S_FALSE;
}

HRESULT ActiveXControlExtenderX::GetExtendedControl(IDispatch** control) {
  if (!control) return E_POINTER;
  *control = nullptr;
  if (!owner_) return E_NOTIMPL;
  *control = static_cast<IDispatch*>(owner_);
  (*control)->AddRef();
  return S_OK;
}

HRESULT ActiveXControlExtenderX::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG* eaten,
                                                  IMoniker** moniker) {
  if (eaten) *eaten = 0;
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

HRESULT ActiveXControlExtenderX::EnumObjects(DWORD, IEnumUnknown** objects) {
  if (objects) *objects = nullptr;
  return E_NOTIMPL;
}

void ActiveXControlExtenderX::OnViewChange(DWORD, LONG) {
  ++viewChanges_;
  if (host_) ::InvalidateRect(host_, nullptr, FALSE);
}

HRESULT ActiveXControlExtenderX::OnChanged(DISPID) {
  ++propertyChanges_;
  return S_OK;
}

}  // namespace rt
