// Automation services: strings, variants, safe arrays, conversions,
// formatting, comparison and per-thread error information.
#pragma once

#include <string_view>
#include <utility>

#include "platform/com.h"
#include "platform/types.h"

// ---------------------------------------------------------------------------
// BSTR: length-prefixed UTF-16. The 32-bit byte length sits just before the
// characters; a terminating NUL follows them. Embedded NULs are kept. A null
// BSTR is the empty text.
// ---------------------------------------------------------------------------
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
BSTR SysAllocStringByteLen(LPCSTR bytes, UINT byteLength);
INT SysReAllocString(BSTR* target, const OLECHAR* text);
INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);

// ---------------------------------------------------------------------------
// VARIANT
// ---------------------------------------------------------------------------
inline constexpr USHORT VARIANT_NOVALUEPROP = 0x01;
inline constexpr USHORT VARIANT_ALPHABOOL = 0x02;
inline constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
inline constexpr USHORT VARIANT_CALENDAR_HIJRI = 0x08;
inline constexpr USHORT VARIANT_LOCALBOOL = 0x10;
inline constexpr USHORT VARIANT_CALENDAR_THAI = 0x20;
inline constexpr USHORT VARIANT_CALENDAR_GREGORIAN = 0x40;
inline constexpr USHORT VARIANT_USE_NLS = 0x80;

// Flags of the VarXxxFromStr and VarBstrFromXxx conversions.
inline constexpr ULONG VAR_LOCALBOOL = 0x10;
inline constexpr ULONG LOCALE_USE_NLS = 0x10000000;

void VariantInit(VARIANTARG* v);
HRESULT VariantClear(VARIANTARG* v);
HRESULT VariantCopy(VARIANTARG* dest, const VARIANTARG* src);
HRESULT VariantCopyInd(VARIANT* dest, const VARIANTARG* src);
HRESULT VariantChangeType(VARIANTARG* dest, const VARIANTARG* src, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANTARG* dest, const VARIANTARG* src, LCID lcid, USHORT flags,
                            VARTYPE vt);

// ---------------------------------------------------------------------------
// SAFEARRAY
// ---------------------------------------------------------------------------
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** out);
UINT SafeArrayGetDim(SAFEARRAY* array);
UINT SafeArrayGetElemsize(SAFEARRAY* array);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayLock(SAFEARRAY* array);
HRESULT SafeArrayUnlock(SAFEARRAY* array);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, LONG* indices, void** element);
HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value);
HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value);
HRESULT SafeArrayRedim(SAFEARRAY* array, SAFEARRAYBOUND* lastDimension);

// ---------------------------------------------------------------------------
// Number parsing
// ---------------------------------------------------------------------------
struct NUMPARSE {
  INT cDig;          // in: room in the digit array; out: digits written
  ULONG dwInFlags;   // NUMPRS_* allowed
  ULONG dwOutFlags;  // NUMPRS_* found
  INT cchUsed;       // characters consumed
  INT nBaseShift;    // 0 decimal, 3 octal, 4 hex
  INT nPwr10;        // decimal exponent applied to the digits
};

inline constexpr ULONG NUMPRS_LEADING_WHITE = 0x0001;
inline constexpr ULONG NUMPRS_TRAILING_WHITE = 0x0002;
inline constexpr ULONG NUMPRS_LEADING_PLUS = 0x0004;
inline constexpr ULONG NUMPRS_TRAILING_PLUS = 0x0008;
inline constexpr ULONG NUMPRS_LEADING_MINUS = 0x0010;
inline constexpr ULONG NUMPRS_TRAILING_MINUS = 0x0020;
inline constexpr ULONG NUMPRS_HEX_OCT = 0x0040;
inline constexpr ULONG NUMPRS_PARENS = 0x0080;
inline constexpr ULONG NUMPRS_DECIMAL = 0x0100;
inline constexpr ULONG NUMPRS_THOUSANDS = 0x0200;
inline constexpr ULONG NUMPRS_CURRENCY = 0x0400;
inline constexpr ULONG NUMPRS_EXPONENT = 0x0800;
inline constexpr ULONG NUMPRS_USE_ALL = 0x1000;
inline constexpr ULONG NUMPRS_STD = 0x1FFF;
inline constexpr ULONG NUMPRS_NEG = 0x10000;
inline constexpr ULONG NUMPRS_INEXACT = 0x20000;

inline constexpr ULONG VTBIT_I1 = 1u << VT_I1;
inline constexpr ULONG VTBIT_UI1 = 1u << VT_UI1;
inline constexpr ULONG VTBIT_I2 = 1u << VT_I2;
inline constexpr ULONG VTBIT_UI2 = 1u << VT_UI2;
inline constexpr ULONG VTBIT_I4 = 1u << VT_I4;
inline constexpr ULONG VTBIT_UI4 = 1u << VT_UI4;
inline constexpr ULONG VTBIT_I8 = 1u << VT_I8;
inline constexpr ULONG VTBIT_UI8 = 1u << VT_UI8;
inline constexpr ULONG VTBIT_R4 = 1u << VT_R4;
inline constexpr ULONG VTBIT_R8 = 1u << VT_R8;
inline constexpr ULONG VTBIT_CY = 1u << VT_CY;
inline constexpr ULONG VTBIT_DECIMAL = 1u << VT_DECIMAL;

HRESULT VarParseNumFromStr(LPCOLESTR text, LCID lcid, ULONG flags, NUMPARSE* numprs, BYTE* digits);
HRESULT VarNumFromParseNum(NUMPARSE* numprs, BYTE* digits, ULONG vtBits, VARIANT* result);

// ---------------------------------------------------------------------------
// Scalar conversions
// ---------------------------------------------------------------------------
HRESULT VarI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, CHAR* out);
HRESULT VarUI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, BYTE* out);
HRESULT VarI2FromStr(LPCOLESTR text, LCID lcid, ULONG flags, SHORT* out);
HRESULT VarUI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONG* out);
HRESULT VarUI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONG64* out);
HRESULT VarI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONG* out);
HRESULT VarI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONG64* out);
HRESULT VarR8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, DOUBLE* out);
HRESULT VarBoolFromStr(LPCOLESTR text, LCID lcid, ULONG flags, VARIANT_BOOL* out);
// Flags of the date conversions: only the time of day, or only the date.
inline constexpr ULONG VAR_TIMEVALUEONLY = 0x01;
inline constexpr ULONG VAR_DATEVALUEONLY = 0x02;

HRESULT VarDateFromStr(LPCOLESTR text, LCID lcid, ULONG flags, DATE* out);
HRESULT VarUI1FromR8(DOUBLE in, BYTE* out);
HRESULT VarI4FromR8(DOUBLE in, LONG* out);
HRESULT VarI2FromR8(DOUBLE in, SHORT* out);
HRESULT VarI8FromR8(DOUBLE in, LONG64* out);
HRESULT VarI8FromCy(CY in, LONG64* out);
HRESULT VarCyFromR8(DOUBLE in, CY* out);
HRESULT VarR8FromCy(CY in, DOUBLE* out);
HRESULT VarBstrFromR8(DOUBLE in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromR4(FLOAT in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromI4(LONG in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromI8(LONG64 in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromCy(CY in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromDate(DATE in, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromBool(VARIANT_BOOL in, LCID lcid, ULONG flags, BSTR* out);

// ---------------------------------------------------------------------------
// Formatting and comparison
// ---------------------------------------------------------------------------
// VarFormat first day of week: 0 = system default, 1 = Sunday ... 7 = Saturday.
// First week of year: 0 = system default, 1 = the week of 1 January,
// 2 = the first week with four days, 3 = the first full week.
HRESULT VarFormat(LPVARIANT value, LPOLESTR format, int firstDay, int firstWeek, ULONG flags,
                  BSTR* out);

// A format text parsed once (under lcid) into a token buffer of cbTok bytes;
// *pcbActual (when given) receives the bytes used. DISP_E_BUFFERTOOSMALL when
// the buffer cannot hold the tokens. The buffer's layout is private.
HRESULT VarTokenizeFormatString(LPOLESTR pstrFormat, LPBYTE rgbTok, int cbTok, int iFirstDay,
                                int iFirstWeek, LCID lcid, int* pcbActual);
// Formats a value with tokens from VarTokenizeFormatString; lcid decides the
// look of the output (separators, names).
HRESULT VarFormatFromTokens(LPVARIANT pvarIn, LPOLESTR pstrFormat, LPBYTE pbTokCur, ULONG dwFlags,
                            BSTR* pbstrOut, LCID lcid);

inline constexpr HRESULT VARCMP_LT = 0;
inline constexpr HRESULT VARCMP_EQ = 1;
inline constexpr HRESULT VARCMP_GT = 2;
inline constexpr HRESULT VARCMP_NULL = 3;

// Comparison flags shared with CompareStringW.
inline constexpr ULONG NORM_IGNORECASE = 0x00000001;
inline constexpr ULONG NORM_IGNORENONSPACE = 0x00000002;
inline constexpr ULONG NORM_IGNORESYMBOLS = 0x00000004;
inline constexpr ULONG NORM_IGNOREKANATYPE = 0x00010000;
inline constexpr ULONG NORM_IGNOREWIDTH = 0x00020000;

HRESULT VarCmp(LPVARIANT left, LPVARIANT right, LCID lcid, ULONG flags);
HRESULT VarBstrCmp(BSTR left, BSTR right, LCID lcid, ULONG flags);

// ---------------------------------------------------------------------------
// Per-thread error information
// ---------------------------------------------------------------------------
// SetErrorInfo takes a new reference (null clears the slot). GetErrorInfo
// hands the reference to the caller and clears the slot; S_FALSE when empty.
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);
HRESULT CreateErrorInfo(ICreateErrorInfo** info);

// ---------------------------------------------------------------------------
// RAII holders (not part of the documented surface; used across the project)
// ---------------------------------------------------------------------------

// Owns one BSTR; frees it on destruction.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const OLECHAR* text) : s_(text ? SysAllocString(text) : nullptr) {}
  explicit Bstr(std::u16string_view text)
      : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr& other) : s_(other.s_ ? SysAllocStringLen(other.s_, other.length()) : nullptr) {}
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  ~Bstr() { SysFreeString(s_); }
  Bstr& operator=(Bstr other) noexcept {
    std::swap(s_, other.s_);
    return *this;
  }

  // Takes ownership of an existing BSTR.
  static Bstr Adopt(BSTR s) {
    Bstr b;
    b.s_ = s;
    return b;
  }

  BSTR get() const { return s_; }
  // For out-parameters: frees the current text first.
  BSTR* out() {
    reset();
    return &s_;
  }
  [[nodiscard]] BSTR release() { return std::exchange(s_, nullptr); }
  void reset() { SysFreeString(std::exchange(s_, nullptr)); }

  UINT length() const { return SysStringLen(s_); }
  bool empty() const { return length() == 0; }
  std::u16string_view view() const { return {s_ ? s_ : u"", length()}; }

  friend bool operator==(const Bstr& a, std::u16string_view b) { return a.view() == b; }

 private:
  BSTR s_ = nullptr;
};

// Owns one VARIANT; clears it on destruction.
class Variant : public VARIANT {
 public:
  Variant() { VariantInit(this); }
  Variant(const Variant& other) : Variant() { VariantCopy(this, &other); }
  Variant(Variant&& other) noexcept : VARIANT(other) { VariantInit(&other); }
  ~Variant() { VariantClear(this); }
  Variant& operator=(const Variant& other) {
    if (this != &other) VariantCopy(this, &other);
    return *this;
  }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      VariantClear(this);
      static_cast<VARIANT&>(*this) = other;
      VariantInit(&other);
    }
    return *this;
  }

  static Variant I2(SHORT v) {
    return Scalar(VT_I2, [&](VARIANT& x) { x.iVal = v; });
  }
  static Variant I4(LONG v) {
    return Scalar(VT_I4, [&](VARIANT& x) { x.lVal = v; });
  }
  static Variant R8(DOUBLE v) {
    return Scalar(VT_R8, [&](VARIANT& x) { x.dblVal = v; });
  }
  static Variant Bool(bool v) {
    return Scalar(VT_BOOL, [&](VARIANT& x) { x.boolVal = v ? VARIANT_TRUE : VARIANT_FALSE; });
  }
  static Variant Null() {
    return Scalar(VT_NULL, [](VARIANT&) {});
  }
  static Variant Error(SCODE code) {
    return Scalar(VT_ERROR, [&](VARIANT& x) { x.scode = code; });
  }
  // A missing optional argument.
  static Variant Missing() { return Error(DISP_E_PARAMNOTFOUND); }
  static Variant Str(std::u16string_view text) {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
  }
  // Takes ownership of s.
  static Variant AdoptBstr(BSTR s) {
    Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = s;
    return v;
  }

  VARIANT* out() {
    VariantClear(this);
    return this;
  }

 private:
  template <typename Fill>
  static Variant Scalar(VARTYPE vt, Fill fill) {
    Variant v;
    v.vt = vt;
    fill(v);
    return v;
  }
};
