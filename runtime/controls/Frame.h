// The Frame: a group box ("BrammelFrame") that holds other controls and
// draws a titled border around them. It is the container of its children:
// their geometry and the painting of its windowless ones go through it.
// It reaches the windows of its children by name, through its form's
// controls collection, as any code of the application could.
#pragma once

#include <memory>
#include <vector>

#include "runtime/controls/BaseControlNotFocusable2.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/OLEDragDropHelper.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4EE8-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_Frame{
    0x33AD4EE8, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};
// {2D6AE51C-7A89-4651-8C52-9D19C6BFE40D}
inline constexpr IID DIID_FrameEvents{
    0x2D6AE51C, 0x7A89, 0x4651, {0x8C, 0x52, 0x9D, 0x19, 0xC6, 0xBF, 0xE4, 0x0D}};

struct FrameDesign {
  CommonDesign common;
  Bstr caption;
  int32_t backColor = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor = static_cast<int32_t>(colour::ButtonText);
  VARIANT_BOOL clipControls = VARIANT_TRUE;
  int32_t borderStyle = 1;
  int32_t appearance = 1;
};
extern const PropertyLayout kFrameLayout;

class Frame final : public ControlObject<Frame, IDispatch, EngineContainer> {
 public:
  Frame();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return notFocusable_ ? notFocusable_->rect() : nullptr; }
  BaseControlNotFocusable2* notFocusable() { return notFocusable_.get(); }
  OLEDragDropHelper* dragDrop() { return dragDrop_.get(); }

  HRESULT getCaption(BSTR* caption);
  HRESULT putCaption(BSTR caption);
  HRESULT refresh();
  HRESULT applyClipControls();
  HRESULT applyLayered();

  // The windows of the controls placed in this frame: "Parent" on the
  // frame, "Controls" on the parent, then for each control whose
  // "Container" is this frame its "hWnd" (windowless ones have none). A
  // failing lookup of the parent or its collection is returned as it is.
  HRESULT childWindows(std::vector<HWND>& windows);

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

  // --- EngineContainer
  HRESULT childValue(ControlRecord& child, Edge edge, double* value) override;
  HRESULT setChildValue(ControlRecord& child, Edge edge, double value) override;
  HWND childParentWindow() override { return hwnd(); }

  // Own fields, in declaration order.
  int32_t backColor_ = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor_ = static_cast<int32_t>(colour::ButtonText);
  VARIANT_BOOL clipControls_ = VARIANT_TRUE;
  LONG borderStyle_ = 1;
  LONG unnamed1_ = 0;
  VARIANT_BOOL unnamedFlag_ = VARIANT_FALSE;
  LONG unnamed2_ = 0;
  double opacity_ = 100.0;
  int32_t transparencyKey_ = colour::None;
  LONG appearance_ = 1;

 private:
  friend class ComObject<Frame, IDispatch, EngineControl, WindowEventSink,
                         IConnectionPointContainer, EngineContainer>;
  ~Frame() override = default;

  std::unique_ptr<BaseControlNotFocusable2> notFocusable_;
  std::unique_ptr<OLEDragDropHelper> dragDrop_;
  Bstr designCaption_;
};

}  // namespace rt
