#include "app/window/Form1Startup.h"

#include <string_view>

#include "platform/kernel.h"

namespace skiffwire {

HRESULT Form1Startup::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT Form1Startup::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT Form1Startup::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids || count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  const std::u16string_view name = names[0] ? names[0] : u"";
  // Names are matched without regard to case, as the language does.
  if (name.size() != 4 ||
      CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, names[0], 4, u"Show", 4) != CSTR_EQUAL) {
    return DISP_E_UNKNOWNNAME;
  }
  ids[0] = kShow;
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT Form1Startup::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                             EXCEPINFO*, UINT*) {
  if (id != kShow) return DISP_E_MEMBERNOTFOUND;
  if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
  if (result) VariantInit(result);
  if (form_) form_->show();
  return S_OK;
}

}  // namespace skiffwire
