// The Form object: the intrinsic class behind every form. It owns the
// form's window-level properties (caption, border, colours, persistent
// drawing, transparency), contains its controls' geometry (EngineContainer)
// and raises the form events. The forms engine owns the form's life.
//
// Events (DIID_FormEvents): 1 Initialize, 2 Load (once per load, after the
// controls exist and before the form is first shown), 3 Activate,
// 4 Deactivate, 5 Resize, 6 Paint, 7 Terminate, 8 BeforeUnload (Cancel,
// UnloadMode), 0x13 Unloading (Cancel). Cancel arguments are 16-bit integers
// by reference; a non-zero Cancel stops the close.
#pragma once

#include <memory>

#include "app/members/IForm.h"
#include "runtime/controls/BaseForm.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/GraphicsBase.h"
#include "runtime/controls/OLEDragDropHelper.h"
#include "runtime/controls/OleColor.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

namespace form_event {
inline constexpr DISPID Initialize = 1;
inline constexpr DISPID Load = 2;
inline constexpr DISPID Activate = 3;
inline constexpr DISPID Deactivate = 4;
inline constexpr DISPID Resize = 5;
inline constexpr DISPID Paint = 6;
inline constexpr DISPID Terminate = 7;
inline constexpr DISPID BeforeUnload = 8;
inline constexpr DISPID Unloading = 0x13;
}  // namespace form_event

// {33AD4F38-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_Form{
    0x33AD4F38, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

// The form's design properties.
struct FormDesign {
  Bstr caption;
  int32_t backColor = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor = static_cast<int32_t>(colour::ButtonText);
  int32_t borderStyle = 2;
  VARIANT_BOOL controlBox = VARIANT_TRUE;
  VARIANT_BOOL maxButton = VARIANT_TRUE;
  VARIANT_BOOL minButton = VARIANT_TRUE;
  VARIANT_BOOL keyPreview = VARIANT_FALSE;
  VARIANT_BOOL autoRedraw = VARIANT_FALSE;
  VARIANT_BOOL clipControls = VARIANT_TRUE;
  int32_t startUpPosition = 0;
  int32_t windowState = 0;
  double clientLeft = 0;  // twips
  double clientTop = 0;
  double clientWidth = 4800;
  double clientHeight = 3600;
  double opacity = 100.0;
  int32_t transparencyKey = -1;
};
extern const PropertyLayout kFormLayout;

class Form final : public ControlObject<Form, skiffwire::IForm, EngineContainer> {
 public:
  Form();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return baseForm_ ? baseForm_->rect() : nullptr; }

  // --- Contained bases
  BaseForm* baseForm() { return baseForm_.get(); }
  GraphicsBase* graphics() { return graphics_.get(); }
  OLEDragDropHelper* dragDrop() { return dragDrop_.get(); }

  // --- IForm
  HRESULT put_Caption(BSTR caption) override;

  // --- Own members
  HRESULT getCaption(BSTR* caption);
  // The window's outer rectangle on the screen, in twips. The form has no
  // container to ask, so these load it and read or move its window.
  HRESULT getLeft(DOUBLE* value) { return outerEdge(0, value); }
  HRESULT getTop(DOUBLE* value) { return outerEdge(1, value); }
  HRESULT getWidth(DOUBLE* value) { return outerEdge(2, value); }
  HRESULT getHeight(DOUBLE* value) { return outerEdge(3, value); }
  HRESULT putLeft(DOUBLE value) { return setOuterEdge(0, value); }
  HRESULT putTop(DOUBLE value) { return setOuterEdge(1, value); }
  HRESULT putWidth(DOUBLE value) { return setOuterEdge(2, value); }
  HRESULT putHeight(DOUBLE value) { return setOuterEdge(3, value); }
  HRESULT applyLayered();
  HRESULT applyColours();
  // The controls collection of the form's design (loads the form first).
  HRESULT getControls(IDispatch** controls);

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void afterCreate(HWND hwnd) override;
  void postLoad() override;
  void windowGone() override;
  void terminate() override;
  bool onMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void formSettings(FormSettings& settings) override;
  HRESULT beforeUnload(int mode, SHORT* cancel) override;

  // --- WindowEventSink
  void unloading(SHORT* cancel) override;
  void activated() override { raise(form_event::Activate); }
  void deactivated() override { raise(form_event::Deactivate); }

  // --- EngineContainer
  HRESULT childValue(ControlRecord& child, Edge edge, double* value) override;
  HRESULT setChildValue(ControlRecord& child, Edge edge, double value) override;
  HWND childParentWindow() override { return hwnd(); }

  // Paints the windowless controls among `children` (labels, shapes) into dc.
  static void PaintWindowlessChildren(const ControlRecord& container, HDC dc);

  // Own fields.
  double opacity_ = 100.0;
  int32_t transparencyKey_ = colour::None;
  int32_t backColor_ = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor_ = static_cast<int32_t>(colour::ButtonText);
  Bstr designCaption_;
  FormSettings settings_;

 private:
  friend class ComObject<Form, skiffwire::IForm, EngineControl, WindowEventSink,
                         IConnectionPointContainer, EngineContainer>;
  ~Form() override;
  void paint(HDC dc);
  // edge: 0 left, 1 top, 2 width, 3 height.
  HRESULT loadedWindowRect(RECT* r);
  HRESULT outerEdge(int edge, DOUBLE* value);
  HRESULT setOuterEdge(int edge, DOUBLE value);
  double twipsPerPixel();

  std::unique_ptr<BaseForm> baseForm_;
  std::unique_ptr<GraphicsBase> graphics_;
  std::unique_ptr<OLEDragDropHelper> dragDrop_;
};

// Moves a child's window (or repaints a windowless child) after its
// placement changed.
void ApplyChildPlacement(ControlRecord& child, HWND parent, const RECT& oldRect);
// A child's rectangle in its container's client pixels.
RECT ChildPixelRect(const ControlRecord& child);
// What a container (the form, a frame) answers for a child's geometry: the
// stored placement in the container's scale units; a change moves the
// child's window under `parent` or repaints it.
HRESULT ChildEdgeValue(ControlRecord& child, EngineContainer::Edge edge, double* value);
HRESULT SetChildEdgeValue(ControlRecord& child, EngineContainer::Edge edge, double value,
                          HWND parent);

}  // namespace rt
