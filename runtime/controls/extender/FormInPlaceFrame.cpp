#include "runtime/controls/extender/FormInPlaceFrame.h"

namespace rt {

HRESULT FormInPlaceFrame::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = form_;
  return form_ ? S_OK : E_FAIL;
}

HRESULT FormInPlaceFrame::GetBorder(LPRECT border) {
  if (!border) return E_POINTER;
  if (!form_ || !GetClientRect(form_, border)) return E_FAIL;
  return S_OK;
}

HRESULT FormInPlaceFrame::SetBorderSpace(LPCBORDERWIDTHS widths) {
  // Only "no space" can be granted.
  if (!widths) return S_OK;
  const bool none =
      widths->left == 0 && widths->top == 0 && widths->right == 0 && widths->bottom == 0;
  return none ? S_OK : OLE_E_INVALIDRECT;
}

HRESULT FormInPlaceFrame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  active_ = object;
  return S_OK;
}

HRESULT FormInPlaceFrame::InsertMenus(HMENU, OLEMENUGROUPWIDTHS* widths) {
  if (!widths) return E_POINTER;
  // The form contributes no menu groups.
  widths->width[0] = widths->width[2] = widths->width[4] = 0;
  return S_OK;
}

void* FormInPlaceFrame::queryExtraInterface(REFIID riid) {
  if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleWindow) {
    return static_cast<IOleInPlaceFrame*>(this);
  }
  return nullptr;
}

}  // namespace rt
