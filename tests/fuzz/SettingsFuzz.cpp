// LoadSettings over arbitrary bytes as Settings.txt. The outcome must be the
// one the settings rules give: groups of eleven lines while the file has
// more, each text line taken verbatim, each check-box line read with Val and
// rounded to even, and at the first line a check box refuses (a negative
// value, or one past a 16-bit integer) the one "Setting file error" box, with
// the later lines left unread.
// Libraries: skiffwire_app
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "app/form1/Form1.h"
#include "platform/dialogs.h"
#include "platform/kernel.h"
#include "platform/testing.h"
#include "runtime/com/ComObject.h"
#include "runtime/core/ErrorMessageTable.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/FileStatements.h"
#include "runtime/core/FileTable.h"
#include "runtime/core/Status.h"
#include "runtime/core/Val.h"

namespace {

using skiffwire::ICheckBox;
using skiffwire::ITextBox;

// Controls that keep their value and nothing else; the check box refuses
// negative values as the intrinsic one does.
template <typename Derived, typename Members>
class ControlDouble : public rt::ComObject<Derived, Members> {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

class TextBox final : public ControlDouble<TextBox, ITextBox> {
 public:
  explicit TextBox(std::u16string_view text) : text_(text) {}
  HRESULT get_Text(BSTR* text) override {
    *text = SysAllocStringLen(text_.data(), static_cast<UINT>(text_.size()));
    return S_OK;
  }
  HRESULT put_Text(BSTR text) override {
    text_ = skiffwire::ViewOf(text);
    return S_OK;
  }
  HRESULT put_SelStart(LONG) override { return S_OK; }
  HRESULT put_Enabled(VARIANT_BOOL) override { return S_OK; }
  // Loading settings never touches the selection.
  HRESULT get_SelStart(LONG* start) override {
    *start = 0;
    return S_OK;
  }
  HRESULT get_SelLength(LONG* length) override {
    *length = 0;
    return S_OK;
  }
  HRESULT put_SelLength(LONG) override { return S_OK; }
  HRESULT get_SelText(BSTR* text) override {
    *text = nullptr;
    return S_OK;
  }
  HRESULT put_SelText(BSTR) override { return S_OK; }
  const std::u16string& text() const { return text_; }

 private:
  std::u16string text_;
};

class CheckBox final : public ControlDouble<CheckBox, ICheckBox> {
 public:
  explicit CheckBox(SHORT value) : value_(value) {}
  HRESULT get_Value(SHORT* value) override {
    *value = value_;
    return S_OK;
  }
  HRESULT put_Value(SHORT value) override {
    if (value < 0) return rt::SetErrorFromStatus(rt::ErrorStatus(rt::err::InvalidPropertyValue));
    value_ = value;
    return S_OK;
  }
  SHORT value() const { return value_; }

 private:
  SHORT value_;
};

constexpr std::array<std::u16string_view, 8> kDesignTexts = {
    u"127.0.0.1", u"8888", u"clear", u"Hello World!", u"1", u"128", u"5000", u"3"};
constexpr SHORT kDesignCheck = 1;

struct Values {
  std::array<std::u16string, 8> texts;
  std::array<SHORT, 3> checks;
  bool operator==(const Values&) const = default;
};

std::u16string AnsiText(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  std::u16string text(static_cast<size_t>(needed), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), needed);
  return text;
}

// A check-box line's value; nothing when the line makes LoadSettings fail.
std::optional<SHORT> CheckValue(const std::u16string& line) {
  const Bstr text(line);
  DOUBLE number = 0;
  if (FAILED(rt::ValOfText(text.get(), &number))) return std::nullopt;
  const double rounded = std::nearbyint(number);  // ties to even
  if (rounded < -32768 || rounded > 32767) return std::nullopt;
  if (rounded < 0) return std::nullopt;
  return static_cast<SHORT>(rounded);
}

struct Outcome {
  Values values;
  bool message = false;
};

Outcome Model(const std::string& bytes) {
  Outcome outcome;
  for (size_t i = 0; i < 8; ++i)
    outcome.values.texts[i] = kDesignTexts[i];
  outcome.values.checks.fill(kDesignCheck);
  const std::vector<fuzz_support::ModelLine> lines = fuzz_support::ModelLines(bytes, 1);
  size_t next = 0;
  bool atEnd = bytes.empty();
  while (!atEnd) {
    for (size_t row = 0; row < 11; ++row) {
      std::u16string line;
      if (next < lines.size()) {
        line = AnsiText(lines[next].units);
        atEnd = lines[next].end == bytes.size();
        ++next;
      }
      if (row < 8) {
        outcome.values.texts[row] = line;
        continue;
      }
      const std::optional<SHORT> value = CheckValue(line);
      if (!value) {
        outcome.message = true;
        return outcome;
      }
      outcome.values.checks[row - 8] = *value;
    }
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz_support::ScratchFolder folder;
  static const platform::ScopedModuleFileName executable(folder.win32("Skiffwire.exe"));
  static const bool startedUp = [] {
    rt::BuildErrorMessageTable();
    return SUCCEEDED(rt::FileTable::Create());
  }();
  FUZZ_CHECK(startedUp, "start-up");
  FUZZ_CHECK(std::fegetround() == FE_TONEAREST, "rounding mode");

  const std::string bytes(reinterpret_cast<const char*>(data), size);
  folder.write("Settings.txt", bytes);

  std::array<ComPtr<TextBox>, 8> texts;
  for (size_t i = 0; i < texts.size(); ++i)
    texts[i] = rt::MakeComObject<TextBox>(kDesignTexts[i]);
  std::array<ComPtr<CheckBox>, 3> checks;
  for (ComPtr<CheckBox>& check : checks)
    check = rt::MakeComObject<CheckBox>(kDesignCheck);
  skiffwire::Form1Controls controls;
  controls.txtIpAddress = texts[0];
  controls.txtPort = texts[1];
  controls.txtClearString = texts[2];
  controls.txtTestString = texts[3];
  controls.txtWaitState = texts[4];
  controls.txtPacketLen = texts[5];
  controls.txtTimeOut = texts[6];
  controls.txtRetry = texts[7];
  controls.chkSTX = checks[0];
  controls.chkEOT = checks[1];
  controls.chkChecksum = checks[2];

  const platform::ScopedMessageBoxPolicy boxes;
  {
    skiffwire::Form1 form(std::move(controls));
    FUZZ_CHECK(form.LoadSettings() == S_OK, "LoadSettings handles its own errors");
  }

  Outcome loaded;
  for (size_t i = 0; i < texts.size(); ++i)
    loaded.values.texts[i] = texts[i]->text();
  for (size_t i = 0; i < checks.size(); ++i)
    loaded.values.checks[i] = checks[i]->value();
  const std::vector<platform::MessageBoxRecord> shown = boxes.boxes();
  // The error handler leaves the file open, as the procedure is written; a
  // process loads its settings once, so each input starts afresh here.
  for (LONG number = 1; number <= rt::FileTable::kSlotCount; ++number)
    rt::CloseFile(number);
  loaded.message = !shown.empty();

  const Outcome expected = Model(bytes);
  FUZZ_CHECK(loaded.values == expected.values, "the controls' values");
  FUZZ_CHECK(loaded.message == expected.message, "whether the message is shown");
  FUZZ_CHECK(shown.size() <= 1, "at most one message");
  if (!shown.empty()) {
    FUZZ_CHECK(shown[0].caption == u"Setting file error" &&
                   shown[0].text == u"Settings file not found, using defaults...",
               "the message");
  }
  return 0;
}
