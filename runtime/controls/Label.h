// The Label: a caption without a window of its own, painted by its
// container (form or frame). Change (event 1) follows a Caption let that
// changes the caption. With AutoSize the label takes the size of its
// caption: on one line, or with WordWrap at its width, growing downwards.
#pragma once

#include <memory>

#include "app/members/ILabel.h"
#include "runtime/controls/BaseControlWindowlessNoFocus.h"
#include "runtime/controls/BaseFont.h"
#include "runtime/controls/CommonDesign.h"
#include "runtime/controls/ControlObject.h"
#include "runtime/controls/DataFieldBinderBase.h"
#include "runtime/controls/OLEDragDropHelper.h"
#include "runtime/controls/OleColor.h"

namespace rt {

// {33AD4ED8-6699-11CF-B70C-00AA0060D393}
inline constexpr CLSID CLSID_Label{
    0x33AD4ED8, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};

inline constexpr DISPID kLabelChange = 1;

struct LabelDesign {
  CommonDesign common;
  Bstr caption;
  int32_t backColor = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor = static_cast<int32_t>(colour::ButtonText);
  int32_t backStyle = 1;
  int32_t alignment = 0;
  int32_t borderStyle = 0;
  VARIANT_BOOL autoSize = VARIANT_FALSE;
  VARIANT_BOOL wordWrap = VARIANT_FALSE;
};
extern const PropertyLayout kLabelLayout;

class Label final : public ControlObject<Label, skiffwire::ILabel> {
 public:
  Label();

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }
  BaseControlRect* rect() { return windowless_ ? windowless_->rect() : nullptr; }
  BaseControlWindowlessNoFocus* windowless() { return windowless_.get(); }
  DataFieldBinderBase* binder() { return binder_.get(); }
  OLEDragDropHelper* dragDrop() { return dragDrop_.get(); }

  // --- ILabel
  HRESULT get_Caption(BSTR* caption) override;
  HRESULT put_Caption(BSTR caption) override;

  HRESULT repaint();
  // Sizes the label to its caption when AutoSize is on (before the form has
  // laid it out, only the placement changes).
  HRESULT fitCaption();
  HRESULT getFont(IDispatch** font) { return font_.getFont(font); }
  HRESULT setFont(IDispatch* font) { return font_.setFont(font); }

  // --- EngineControl
  HRESULT fillWindowRecord(WindowRecord& record) override;
  HRESULT readDesign(PropertyReader& reader) override;
  void paintWindowless(HDC dc) override;
  bool windowlessRect(RECT* rect) override;
  void afterCreate(HWND) override { fitCaption(); }
  bool visible() override { return rect()->windowlessVisible(); }
  bool enabled() override { return rect()->windowlessEnabled(); }

  // Own fields, in declaration order.
  LONG first_ = 0;
  int32_t backColor_ = static_cast<int32_t>(colour::ButtonFace);
  int32_t foreColor_ = static_cast<int32_t>(colour::ButtonText);
  VARIANT_BOOL unnamedFlag_ = VARIANT_TRUE;
  LONG alignment_ = 0;  // 0 left, 1 right, 2 centre
  LONG backStyle_ = 1;  // 1 opaque, 0 transparent
  LONG borderStyle_ = 0;
  LONG unnamedValue_ = 50;
  Bstr caption_;
  VARIANT_BOOL autoSize_ = VARIANT_FALSE;
  VARIANT_BOOL wordWrap_ = VARIANT_FALSE;

 private:
  friend class ComObject<Label, skiffwire::ILabel, EngineControl, WindowEventSink,
                         IConnectionPointContainer>;
  ~Label() override = default;

  std::unique_ptr<BaseControlWindowlessNoFocus> windowless_;
  std::unique_ptr<DataFieldBinderBase> binder_;
  std::unique_ptr<OLEDragDropHelper> dragDrop_;
  BaseFont font_;  // the caption's font (not a member of the label's interface)
};

}  // namespace rt
