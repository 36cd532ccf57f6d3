// Message boxes answered headlessly: recorded, then answered by the policy.
#include <cstring>
#include <mutex>

#include "internal/MessageBoxDialog.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/kernel.h"
#include "platform/user.h"

namespace platform {
namespace {

struct Answerer {
  std::mutex mutex;
  MessageBoxPolicy policy;
  std::vector<MessageBoxRecord> records;
};

Answerer& answerer() {
  static Answerer a;
  return a;
}

std::u16string textOf(LPCWSTR text) {
  return text ? std::u16string(text) : std::u16string();
}

}  // namespace

std::vector<int> ButtonIdsOf(UINT style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
      return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
      return {IDOK};
  }
}

int DefaultButtonOf(UINT style) {
  std::vector<int> buttons = ButtonIdsOf(style);
  size_t index = (style & MB_DEFMASK) >> 8;
  return index < buttons.size() ? buttons[index] : buttons.front();
}

void SetMessageBoxPolicy(MessageBoxPolicy policy) {
  std::lock_guard lock(answerer().mutex);
  answerer().policy = std::move(policy);
}

std::vector<MessageBoxRecord> RecordedMessageBoxes() {
  std::lock_guard lock(answerer().mutex);
  return answerer().records;
}

void ClearRecordedMessageBoxes() {
  std::lock_guard lock(answerer().mutex);
  answerer().records.clear();
}

}  // namespace platform

int MessageBoxIndirectW(const MSGBOXPARAMSW* params) {
  if (!params || params->cbSize < sizeof(UINT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  platform::MessageBoxRecord record{
      platform::textOf(params->lpszText),
      params->lpszCaption ? platform::textOf(params->lpszCaption) : std::u16string(u"Error"),
      params->dwStyle, params->hwndOwner};
  // A driver with a screen shows the box; the headless one lets the policy answer.
  if (std::strcmp(platform::CurrentDisplay().name(), "headless") != 0) {
    return platform::internal::MessageBoxDialog::run(*params);
  }
  platform::MessageBoxPolicy policy;
  {
    platform::Answerer& a = platform::answerer();
    std::lock_guard lock(a.mutex);
    a.records.push_back(record);
    policy = a.policy;
  }
  if (!policy) return platform::DefaultButtonOf(params->dwStyle);

  platform::MessageBoxActions actions;
  actions.pressHelp = [params] {
    if (!(params->dwStyle & MB_HELP) || !params->lpfnMsgBoxCallback) return;
    HELPINFO info{sizeof(HELPINFO), 1, 0, nullptr, params->dwContextHelpId, {0, 0}};
    params->lpfnMsgBoxCallback(&info);
  };
  return policy(record, actions);
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  MSGBOXPARAMSW params{};
  params.cbSize = sizeof(params);
  params.hwndOwner = owner;
  params.lpszText = text;
  params.lpszCaption = caption;
  params.dwStyle = type;
  return MessageBoxIndirectW(&params);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  auto widen = [](LPCSTR s) -> std::u16string {
    if (!s) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    std::u16string out(n > 0 ? static_cast<size_t>(n) : 0, u'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, s, -1, out.data(), n);
    if (!out.empty()) out.pop_back();  // the terminator
    return out;
  };
  std::u16string wideText = widen(text);
  std::u16string wideCaption = widen(caption);
  return MessageBoxW(owner, wideText.c_str(), caption ? wideCaption.c_str() : nullptr, type);
}

BOOL WinHelpW(HWND, LPCWSTR, UINT, ULONG_PTR) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}
