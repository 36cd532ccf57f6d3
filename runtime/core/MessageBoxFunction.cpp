#include "runtime/core/MessageBoxFunction.h"

#include <atomic>
#include <optional>
#include <string>

#include "platform/kernel.h"
#include "runtime/core/ApplicationTitle.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/core/internal/ArgumentValue.h"

namespace rt {
namespace {

constexpr size_t kMaxBoxText = 1023;
constexpr int kMaxDefaultValueDepth = 4;

std::atomic<DefaultOwnerSource> g_ownerSource{nullptr};
std::atomic<HelpViewer> g_helpViewer{&WinHelpW};

// One argument converted to `target`; nothing when it is missing.
HRESULT convertArgument(const VARIANT& argument, VARTYPE target, std::optional<Variant>* converted,
                        int depth = 0) {
  converted->reset();
  if (internal::IsMissingArgument(&argument)) return S_OK;
  Variant value;
  if (HRESULT hr = internal::DirectValue(argument, &value); FAILED(hr)) return hr;
  if (internal::IsNullObject(value)) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  if (value.vt == VT_NULL) return SetErrorFromStatus(ErrorStatus(err::InvalidUseOfNull));
  if (internal::IsObject(value) && depth < kMaxDefaultValueDepth) {
    Variant defaultValue;
    HRESULT hr =
        internal::DefaultValueOf(value, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &defaultValue);
    if (FAILED(hr)) return hr;
    return convertArgument(defaultValue, target, converted, depth + 1);
  }
  Variant result;
  HRESULT hr =
      VariantChangeTypeEx(result.out(), &value, GetUserDefaultLCID(), VARIANT_ALPHABOOL, target);
  if (FAILED(hr)) return hr;
  converted->emplace(std::move(result));
  return S_OK;
}

HRESULT textArgument(const VARIANT& argument, std::optional<std::u16string>* text) {
  std::optional<Variant> converted;
  if (HRESULT hr = convertArgument(argument, VT_BSTR, &converted); FAILED(hr)) return hr;
  if (!converted) {
    text->reset();
    return S_OK;
  }
  const BSTR s = converted->bstrVal;
  text->emplace(s ? s : u"", SysStringLen(s));
  return S_OK;
}

HRESULT numberArgument(const VARIANT& argument, LONG* number) {
  std::optional<Variant> converted;
  if (HRESULT hr = convertArgument(argument, VT_I4, &converted); FAILED(hr)) return hr;
  *number = converted ? converted->lVal : 0;
  return S_OK;
}

std::u16string boxText(std::u16string text) {
  if (text.size() > kMaxBoxText) text.resize(kMaxBoxText);
  return text;
}

HWND defaultOwner() {
  DefaultOwnerSource source = g_ownerSource.load();
  return source ? source() : nullptr;
}

}  // namespace

HRESULT MessageBoxFunction(const VARIANT& prompt, LONG buttons, const VARIANT& title,
                           const VARIANT& helpFile, const VARIANT& context, LONG* result) {
  std::optional<std::u16string> promptText;
  std::optional<std::u16string> titleText;
  std::optional<std::u16string> helpFileText;
  LONG helpContext = 0;
  if (HRESULT hr = textArgument(prompt, &promptText); FAILED(hr)) return hr;
  if (HRESULT hr = textArgument(title, &titleText); FAILED(hr)) return hr;
  if (HRESULT hr = textArgument(helpFile, &helpFileText); FAILED(hr)) return hr;
  if (HRESULT hr = numberArgument(context, &helpContext); FAILED(hr)) return hr;

  const std::u16string text = boxText(promptText.value_or(std::u16string()));
  const std::u16string caption = boxText(titleText ? *titleText : ApplicationTitle::Get());

  MSGBOXPARAMSW params{};
  params.cbSize = sizeof(params);
  params.hwndOwner = defaultOwner();
  params.lpszText = text.c_str();
  params.lpszCaption = caption.c_str();
  params.dwStyle = static_cast<DWORD>(buttons);
  params.lpfnMsgBoxCallback = &MessageBoxHelpCallback;

  // The help callback reads the box's help file and context from here.
  ThreadErrorContext& thread = CurrentErrorContext();
  thread.messageBoxHelpFile = helpFileText ? Bstr(std::u16string_view(*helpFileText)) : Bstr();
  thread.messageBoxHelpContext = helpContext;

  *result = MessageBoxIndirectW(&params);
  return S_OK;
}

void MessageBoxHelpCallback(LPHELPINFO) {
  const ThreadErrorContext& thread = CurrentErrorContext();
  const LONG context = thread.messageBoxHelpContext;
  const UINT command = context != 0 ? HELP_CONTEXT : HELP_FINDER;
  const ULONG_PTR data = context != 0 ? static_cast<ULONG_PTR>(static_cast<DWORD>(context)) : 0;
  HelpViewer viewer = g_helpViewer.load();
  if (!viewer(nullptr, thread.messageBoxHelpFile.get(), command, data)) {
    MessageBoxA(nullptr, "Unable to display help", "Help file error", MB_OK);
  }
}

void SetMessageBoxOwnerSource(DefaultOwnerSource source) {
  g_ownerSource.store(source);
}

void SetMessageBoxHelpViewer(HelpViewer viewer) {
  g_helpViewer.store(viewer ? viewer : &WinHelpW);
}

}  // namespace rt
