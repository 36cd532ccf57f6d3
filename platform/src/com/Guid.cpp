// Registry text form of GUIDs: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#include "platform/com.h"

namespace {

constexpr char16_t kHex[] = u"0123456789ABCDEF";

int hexValue(OLECHAR c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Reads `digits` hex digits at text[pos]; false on a non-digit.
bool readHex(LPCOLESTR text, int pos, int digits, uint64_t* out) {
  uint64_t value = 0;
  for (int i = 0; i < digits; ++i) {
    int d = hexValue(text[pos + i]);
    if (d < 0) return false;
    value = (value << 4) | static_cast<uint64_t>(d);
  }
  *out = value;
  return true;
}

}  // namespace

int StringFromGUID2(REFGUID guid, LPOLESTR text, int max) {
  constexpr int kLength = 39;  // 38 characters and the terminator
  if (!text || max < kLength) return 0;
  int pos = 0;
  auto put = [&](uint64_t value, int digits) {
    for (int i = digits - 1; i >= 0; --i)
      text[pos++] = kHex[(value >> (4 * i)) & 0xF];
  };
  text[pos++] = u'{';
  put(guid.Data1, 8);
  text[pos++] = u'-';
  put(guid.Data2, 4);
  text[pos++] = u'-';
  put(guid.Data3, 4);
  text[pos++] = u'-';
  put(guid.Data4[0], 2);
  put(guid.Data4[1], 2);
  text[pos++] = u'-';
  for (int i = 2; i < 8; ++i)
    put(guid.Data4[i], 2);
  text[pos++] = u'}';
  text[pos] = 0;
  return kLength;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid) {
  if (!iid) return E_INVALIDARG;
  if (!text) {
    *iid = IID_NULL;
    return S_OK;
  }
  // Exactly 38 characters with braces and dashes in place.
  for (int i = 0; i < 38; ++i) {
    if (text[i] == 0) return CO_E_CLASSSTRING;
  }
  if (text[38] != 0 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' || text[14] != u'-' ||
      text[19] != u'-' || text[24] != u'-') {
    return CO_E_CLASSSTRING;
  }
  GUID g{};
  uint64_t v = 0;
  if (!readHex(text, 1, 8, &v)) return CO_E_CLASSSTRING;
  g.Data1 = static_cast<uint32_t>(v);
  if (!readHex(text, 10, 4, &v)) return CO_E_CLASSSTRING;
  g.Data2 = static_cast<uint16_t>(v);
  if (!readHex(text, 15, 4, &v)) return CO_E_CLASSSTRING;
  g.Data3 = static_cast<uint16_t>(v);
  const int bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!readHex(text, bytePositions[i], 2, &v)) return CO_E_CLASSSTRING;
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  *iid = g;
  return S_OK;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  return IIDFromString(text, clsid);
}
