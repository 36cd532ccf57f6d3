// The form as the in-place frame and document window of a hosted control:
// what the control's GetWindowContext receives. The form has no menus,
// toolbars or status bar to share, so border space is refused and the menu
// and status requests are accepted without effect.
#pragma once

#include "platform/ole.h"
#include "runtime/com/ComObject.h"

namespace rt {

class FormInPlaceFrame final : public ComObject<FormInPlaceFrame, IOleInPlaceFrame> {
 public:
  explicit FormInPlaceFrame(HWND form) : form_(form) {}

  // The control's active object while it is UI active (counted).
  IOleInPlaceActiveObject* activeObject() const { return active_.Get(); }

  // ---- IOleWindow
  HRESULT GetWindow(HWND* hwnd) override;
  HRESULT ContextSensitiveHelp(BOOL) override { return S_OK; }
  // ---- IOleInPlaceUIWindow
  HRESULT GetBorder(LPRECT border) override;
  HRESULT RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT SetBorderSpace(LPCBORDERWIDTHS widths) override;
  HRESULT SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override;
  // ---- IOleInPlaceFrame
  HRESULT InsertMenus(HMENU, OLEMENUGROUPWIDTHS* widths) override;
  HRESULT SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT RemoveMenus(HMENU) override { return S_OK; }
  HRESULT SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT EnableModeless(BOOL) override { return S_OK; }
  HRESULT TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

 protected:
  void* queryExtraInterface(REFIID riid) override;

 private:
  ~FormInPlaceFrame() override = default;
  friend class ComObject<FormInPlaceFrame, IOleInPlaceFrame>;

  HWND form_;
  ComPtr<IOleInPlaceActiveObject> active_;
};

}  // namespace rt
