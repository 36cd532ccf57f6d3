#include "runtime/controls/BaseFont.h"

#include <cmath>
#include <string>
#include <utility>

#include "runtime/controls/BaseControlRect.h"
#include "runtime/controls/ControlIds.h"
#include "runtime/controls/FontObject.h"
#include "runtime/controls/internal/LateBound.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/FormState.h"

namespace rt {

BaseFont::BaseFont() : name_(u"MS Sans Serif") {}

BaseFont::~BaseFont() {
  if (object_) object_->detach();
  if (font_) DeleteObject(font_);
}

HRESULT BaseFont::getFont(IDispatch** font) {
  if (!font) return E_POINTER;
  if (!object_) object_ = MakeComObject<FontObject>(this);
  *font = object_.Get();
  (*font)->AddRef();
  return S_OK;
}

const ClassDescriptor& BaseFont::descriptor() const {
  static const ClassDescriptor cls{u"BaseFont", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseFont::Members() {
  using T = BaseFont;
  static const MemberTable table = [] {
    MemberTable t;
    t.textField(u"FontName", dispid::FontName, &T::name_, &T::applyFont);
    t.field<VT_R8>(u"FontSize", dispid::FontSize, &T::size_, &T::applyFont);
    t.field<VT_BOOL>(u"FontBold", dispid::FontBold, &T::bold_, &T::applyFont);
    t.field<VT_BOOL>(u"FontItalic", dispid::FontItalic, &T::italic_, &T::applyFont);
    t.field<VT_BOOL>(u"FontUnderline", dispid::FontUnderline, &T::underline_, &T::applyFont);
    t.field<VT_BOOL>(u"FontStrikethru", dispid::FontStrikethru, &T::strikethrough_, &T::applyFont);
    t.object(u"Font", dispid::FontMember, &T::getFont);
    t.objectPut(dispid::FontMember, &T::setFont);
    return t;
  }();
  return table;
}

HFONT BaseFont::createFont(int dpi) const {
  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(std::lround(size_ * dpi / 72.0));
  description.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
  description.lfItalic = italic_ ? 1 : 0;
  description.lfUnderline = underline_ ? 1 : 0;
  description.lfStrikeOut = strikethrough_ ? 1 : 0;
  const std::u16string_view face = name_.view().substr(0, LF_FACESIZE - 1);
  face.copy(description.lfFaceName, face.size());
  return CreateFontIndirectW(&description);
}

HRESULT BaseFont::setFont(IDispatch* font) {
  if (!font) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  Variant name, size, bold, italic, underline, strikethrough;
  for (auto [member, value] :
       {std::pair{u"Name", &name}, std::pair{u"Size", &size}, std::pair{u"Bold", &bold},
        std::pair{u"Italic", &italic}, std::pair{u"Underline", &underline},
        std::pair{u"Strikethrough", &strikethrough}}) {
    const HRESULT status = GetPropertyByName(font, member, *value);
    if (FAILED(status)) return status;
  }
  Variant text, points, flags[4];
  HRESULT status = ConvertArgument(name, VT_BSTR, text);
  if (SUCCEEDED(status)) status = ConvertArgument(size, VT_R8, points);
  const Variant* sources[] = {&bold, &italic, &underline, &strikethrough};
  for (int i = 0; i < 4 && SUCCEEDED(status); ++i)
    status = ConvertArgument(*sources[i], VT_BOOL, flags[i]);
  if (FAILED(status)) return status;
  if (!(points.dblVal > 0)) return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  name_ = Bstr(std::u16string_view(text.bstrVal ? text.bstrVal : u"", SysStringLen(text.bstrVal)));
  size_ = points.dblVal;
  bold_ = flags[0].boolVal;
  italic_ = flags[1].boolVal;
  underline_ = flags[2].boolVal;
  strikethrough_ = flags[3].boolVal;
  return applyFont();
}

HRESULT BaseFont::applyFont() {
  if (changed_) changed_();
  HWND hwnd = window_ ? window_->hwnd() : nullptr;
  if (!hwnd) return S_OK;  // the window gets the font when it is created
  const ControlRecord* record = window_->record();
  const int dpi = record && record->form ? record->form->dpi : 96;
  HFONT made = createFont(dpi);
  if (!made) return E_FAIL;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (font_) DeleteObject(font_);
  font_ = made;
  return S_OK;
}

}  // namespace rt
