// The font of a control: built from the control's font description and sent
// to its window with WM_SETFONT (a windowless control is repainted, and told
// through its change callback). A change of the description, through the
// Font* members or the Font object, rebuilds the font.
#pragma once

#include <functional>

#include "platform/com.h"
#include "platform/gdi.h"
#include "platform/oleauto.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class BaseControlRect;
class FontObject;

class BaseFont final : public DispatchObject {
 public:
  BaseFont();
  ~BaseFont() override;

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  // The window part the font goes to (not counted: the same control owns both).
  void attachWindow(BaseControlRect* window) { window_ = window; }
  // Called after every change of the description (a label re-fits itself).
  void onChange(std::function<void()> changed) { changed_ = std::move(changed); }
  // The Font object: one per control, made on first use.
  HRESULT getFont(IDispatch** font);
  // Set Font = other: takes the other font's description (read by name),
  // keeping this control's own Font object.
  HRESULT setFont(IDispatch* font);
  // Builds the font for the control's form DPI and sends it to the window.
  HRESULT applyFont();
  // The font for painting at a DPI (windowless children use it too); owned
  // by the caller.
  HFONT createFont(int dpi) const;

  Bstr name_;
  DOUBLE size_ = 8.25;  // points
  VARIANT_BOOL bold_ = VARIANT_FALSE;
  VARIANT_BOOL italic_ = VARIANT_FALSE;
  VARIANT_BOOL underline_ = VARIANT_FALSE;
  VARIANT_BOOL strikethrough_ = VARIANT_FALSE;

 private:
  BaseControlRect* window_ = nullptr;
  HFONT font_ = nullptr;
  std::function<void()> changed_;
  ComPtr<FontObject> object_;
};

}  // namespace rt
