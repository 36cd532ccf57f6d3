// Everything a control with a rectangle needs: its window (when it has
// one), position and size through its container, visibility, the enabled
// state, window text, style bits, message sending, the control colours,
// refresh, focus and the tooltip text the engine's bubble shows.
//
// Windowless controls (Label, Shape) use the same object: their rectangle is
// kept by the container and painted by it; Visible and Enabled are then
// flags of this object.
#pragma once

#include <memory>
#include <string>

#include "platform/gdi.h"
#include "platform/user.h"
#include "runtime/controls/BaseControl.h"
#include "runtime/forms/EngineControl.h"

namespace rt {

class BaseControlRect final : public DispatchObject {
 public:
  explicit BaseControlRect(IDispatch* outer);
  ~BaseControlRect() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  BaseControl* base() { return base_.get(); }
  ControlRecord* record() const { return base_ ? base_->record() : nullptr; }
  HWND hwnd() const;

  // --- Members
  HRESULT getHwnd(LONG* hwnd);
  HRESULT getLeft(DOUBLE* value) { return edge(EngineContainer::Edge::Left, value); }
  HRESULT getTop(DOUBLE* value) { return edge(EngineContainer::Edge::Top, value); }
  HRESULT getWidth(DOUBLE* value) { return edge(EngineContainer::Edge::Width, value); }
  HRESULT getHeight(DOUBLE* value) { return edge(EngineContainer::Edge::Height, value); }
  HRESULT putLeft(DOUBLE value) { return setEdge(EngineContainer::Edge::Left, value); }
  HRESULT putTop(DOUBLE value) { return setEdge(EngineContainer::Edge::Top, value); }
  HRESULT putWidth(DOUBLE value) { return setEdge(EngineContainer::Edge::Width, value); }
  HRESULT putHeight(DOUBLE value) { return setEdge(EngineContainer::Edge::Height, value); }
  HRESULT getVisible(VARIANT_BOOL* visible);
  HRESULT putVisible(VARIANT_BOOL visible);
  HRESULT getEnabled(VARIANT_BOOL* enabled);
  HRESULT putEnabled(VARIANT_BOOL enabled);
  HRESULT Refresh();
  HRESULT SetFocus();
  HRESULT getMousePointer(SHORT* pointer);
  HRESULT putMousePointer(SHORT pointer);
  HRESULT getToolTipText(BSTR* text);
  HRESULT putToolTipText(BSTR text);

  // --- Operations the controls build on
  // SendMessageW to the window; fails (error 91) before the window exists.
  HRESULT sendMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
  // WM_GETTEXTLENGTH, then WM_GETTEXT; before the window exists the text of
  // the window record.
  HRESULT windowText(BSTR* text);
  HRESULT setWindowText(BSTR text);
  // Read-modify-write of GWL_STYLE (or GWL_EXSTYLE): clears `clear`, sets `set`.
  HRESULT changeStyle(int index, DWORD clear, DWORD set);
  DWORD style(int index) const;
  // The control's rectangle in its container's client pixels.
  RECT pixelRect() const;
  // Has the container repaint the control's rectangle (windowless controls).
  void repaintInContainer();
  // The control-colour answer: ForeColor and BackColor looked up by name on
  // the whole control, text colour set, transparent background, a solid
  // brush (kept until the next answer) in *brush.
  void answerColour(HDC dc, LRESULT* brush);
  bool windowlessVisible() const { return visible_; }
  bool windowlessEnabled() const { return enabled_; }
  int mousePointer() const { return mousePointer_; }
  std::u16string toolTipText() const { return std::u16string(toolTip_.view()); }

 private:
  HRESULT edge(EngineContainer::Edge which, DOUBLE* value);
  HRESULT setEdge(EngineContainer::Edge which, DOUBLE value);

  std::unique_ptr<BaseControl> base_;
  HBRUSH brush_ = nullptr;
  bool visible_ = true;
  bool enabled_ = true;
  SHORT mousePointer_ = 0;
  Bstr toolTip_;
};

// Reads a colour property of a control by name through its dispatch
// interface (so a derived control's own property answers).
HRESULT ReadColourByName(IDispatch* control, std::u16string name, COLORREF* rgb);

}  // namespace rt
