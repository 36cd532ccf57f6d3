#include "runtime/core/PrintStatement.h"

#include <string>
#include <vector>

#include "runtime/core/ErrorNumbers.h"
#include "runtime/core/FileTable.h"
#include "runtime/core/internal/ArgumentValue.h"

namespace rt {
namespace {

// Objects whose default value is again an object are followed this far.
constexpr int kMaxDefaultValueDepth = 4;
constexpr DWORD kTabStop = 8;

enum class Spacing { None, After, AroundUnlessNegative };

// A value as Print writes it: a text of the formatting table, then a text.
struct PrintedValue {
  std::span<const BYTE> tableText;
  std::u16string text;
  Spacing spacing = Spacing::None;
};

bool isNumber(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
      return true;
  }
  return false;
}

Spacing spacingOf(VARTYPE vt) {
  if (isNumber(vt)) return Spacing::AroundUnlessNegative;
  return vt == VT_DATE ? Spacing::After : Spacing::None;
}

HRESULT textOfNumber(LONG number, std::u16string* text) {
  Bstr digits;
  if (FAILED(VarBstrFromI4(number, GetUserDefaultLCID(), 0, digits.out()))) return E_FAIL;
  *text = digits.view();
  return S_OK;
}

HRESULT printedValueOf(const FileSlot& slot, const VARIANT& argument, PrintedValue* printed,
                       int depth = 0) {
  Variant value;
  if (FAILED(internal::DirectValue(argument, &value))) return E_FAIL;
  if (value.vt == VT_NULL) {
    printed->tableText = slot.format->bytes(PrintText::NullInPrint);
    return S_OK;
  }
  if (value.vt == VT_ERROR) {
    printed->tableText = slot.format->bytes(PrintText::ErrorInPrint);
    return textOfNumber(MapStatusToNumber(value.scode), &printed->text);
  }
  if (internal::IsObject(value)) {
    Variant defaultValue;
    if (depth >= kMaxDefaultValueDepth || internal::IsNullObject(value) ||
        FAILED(internal::DefaultValueOf(value, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                        &defaultValue))) {
      return E_FAIL;
    }
    return printedValueOf(slot, defaultValue, printed, depth + 1);
  }
  Variant text;
  if (FAILED(VariantChangeTypeEx(text.out(), &value, GetUserDefaultLCID(), VARIANT_ALPHABOOL,
                                 VT_BSTR))) {
    return E_FAIL;
  }
  printed->text.assign(text.bstrVal ? text.bstrVal : u"", SysStringLen(text.bstrVal));
  printed->spacing = spacingOf(value.vt);
  return S_OK;
}

void applySpacing(PrintedValue& printed) {
  switch (printed.spacing) {
    case Spacing::None:
      return;
    case Spacing::After:
      printed.text += u' ';
      return;
    case Spacing::AroundUnlessNegative:
      if (printed.text.empty() || printed.text.front() != u'-') printed.text.insert(0, 1, u' ');
      printed.text += u' ';
      return;
  }
}

// The text in the file's code page: UTF-16 as it is for code page 1200.
HRESULT appendEncoded(const FileSlot& slot, std::u16string_view text, std::vector<BYTE>* bytes) {
  if (text.empty()) return S_OK;
  if (slot.codePage == CP_UTF16LE) {
    for (char16_t c : text) {
      bytes->push_back(static_cast<BYTE>(c & 0xFF));
      bytes->push_back(static_cast<BYTE>(c >> 8));
    }
    return S_OK;
  }
  const int length = static_cast<int>(text.size());
  const UINT codePage = slot.textCodePage();
  const int needed =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return E_FAIL;
  const size_t start = bytes->size();
  bytes->resize(start + static_cast<size_t>(needed));
  auto* dest = reinterpret_cast<LPSTR>(bytes->data() + start);
  WideCharToMultiByte(codePage, 0, text.data(), length, dest, needed, nullptr, nullptr);
  return S_OK;
}

// After a text with line breaks or tabs the column counts from the last line
// break (a carriage return or a line feed), with tabs moving to the next stop.
void correctColumn(FileSlot& slot, std::u16string_view text, DWORD bytesWritten) {
  if (text.find_first_of(u"\r\n\t") == std::u16string_view::npos) return;
  const DWORD unit = slot.format->unitSize();
  DWORD column = (slot.column - bytesWritten) / unit;
  for (char16_t c : text) {
    if (c == u'\r' || c == u'\n') {
      column = 0;
    } else if (c == u'\t') {
      column = (column / kTabStop + 1) * kTabStop;
    } else {
      ++column;
    }
  }
  slot.column = column * unit;
}

}  // namespace

HRESULT PrintSlot(LONG fileNumber, FileSlot** slot) {
  *slot = OpenFileSlot(fileNumber);
  return *slot ? S_OK : E_FAIL;
}

HRESULT PrintItem(FileSlot& slot, const VARIANT& value) {
  PrintedValue printed;
  if (HRESULT hr = printedValueOf(slot, value, &printed); FAILED(hr)) return hr;
  applySpacing(printed);
  std::vector<BYTE> bytes(printed.tableText.begin(), printed.tableText.end());
  if (HRESULT hr = appendEncoded(slot, printed.text, &bytes); FAILED(hr)) return hr;
  const HRESULT hr = slot.write(slot, bytes, false);
  correctColumn(slot, printed.text, static_cast<DWORD>(bytes.size()));
  return hr;
}

HRESULT PrintEnd(FileSlot& slot) {
  const HRESULT hr = slot.write(slot, slot.format->bytes(PrintText::LineBreak), true);
  slot.column = 0;
  return hr;
}

HRESULT PrintLine(LONG fileNumber, const VARIANT& value) {
  FileSlot* slot = nullptr;
  if (HRESULT hr = PrintSlot(fileNumber, &slot); FAILED(hr)) return hr;
  if (HRESULT hr = PrintItem(*slot, value); FAILED(hr)) return hr;
  return PrintEnd(*slot);
}

}  // namespace rt
