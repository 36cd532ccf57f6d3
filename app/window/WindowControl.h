// What every control of the desktop form shares: a child window of the
// platform's system classes, no late binding, and one event interface
// offered through IConnectionPointContainer and fired synchronously.
//
// The form window routes the notifications of its controls (WM_COMMAND,
// passed up through the frames) to the control whose window sent them: each
// control window keeps its NotificationTarget in GWLP_USERDATA.
#pragma once

#include <initializer_list>

#include "platform/user.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/ConnectionPoint.h"

namespace skiffwire {

// The receiver of a control window's notification codes (BN_CLICKED, EN_CHANGE).
class NotificationTarget {
 public:
  virtual void onNotification(WORD code) = 0;

 protected:
  ~NotificationTarget() = default;
};

// Hands a notification to the target of the control window that sent it.
inline void RouteNotification(HWND control, WORD code) {
  if (!control) return;
  auto* target = reinterpret_cast<NotificationTarget*>(GetWindowLongPtrW(control, GWLP_USERDATA));
  if (target) target->onNotification(code);
}

template <typename Derived, typename Members>
class WindowControl : public rt::ComObject<Derived, Members, IConnectionPointContainer>,
                      public NotificationTarget {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points) *points = nullptr;
    return E_NOTIMPL;
  }
  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (riid != eventInterface_) return CONNECT_E_NOCONNECTION;
    events_.CopyTo(reinterpret_cast<rt::ConnectionPoint**>(point));
    return S_OK;
  }

  void onNotification(WORD) override {}

  HWND hwnd() const { return hwnd_; }

  // Takes the control's window (created by the form) and routes its
  // notifications here.
  void attach(HWND hwnd) {
    hwnd_ = hwnd;
    if (hwnd_)
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(static_cast<NotificationTarget*>(this)));
  }

 protected:
  explicit WindowControl(const IID& eventInterface)
      : eventInterface_(eventInterface),
        events_(rt::MakeComObject<rt::ConnectionPoint>(eventInterface, this)) {}
  ~WindowControl() override {
    if (IsWindow(hwnd_)) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    events_->detach();
  }

  // Raises an event on the connected sinks; an error the handler does not
  // take is the runtime's to report, so the control goes on either way.
  void raise(DISPID event, std::initializer_list<VARIANT> arguments = {}) {
    events_->fire(event, arguments);
  }

 private:
  IID eventInterface_;
  ComPtr<rt::ConnectionPoint> events_;
  HWND hwnd_ = nullptr;
};

}  // namespace skiffwire
