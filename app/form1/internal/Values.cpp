#include "app/form1/internal/Values.h"

#include "runtime/core/Val.h"
#include "runtime/library/Conversions.h"

namespace skiffwire::internal {

std::u16string LongText(LONG value) {
  Bstr text;
  if (FAILED(VarBstrFromI4(value, LOCALE_USER_DEFAULT, 0, text.out()))) return u"";
  return std::u16string(text.view());
}

VARIANT ByteVariant(BYTE value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UI1;
  v.bVal = value;
  return v;
}

HRESULT RoundedVal(BSTR text, LONG* value) {
  DOUBLE number = 0;
  HRESULT hr = rt::ValOfText(text, &number);
  if (FAILED(hr)) return hr;
  return rt::ToLong(Variant::R8(number), 0, value);
}

}  // namespace skiffwire::internal
