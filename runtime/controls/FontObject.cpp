#include "runtime/controls/FontObject.h"

#include <string_view>

#include "runtime/controls/BaseFont.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

// The standard dispatch identifiers of a font's members.
constexpr DISPID kFontName = 0;
constexpr DISPID kFontSize = 2;
constexpr DISPID kFontBold = 3;
constexpr DISPID kFontItalic = 4;
constexpr DISPID kFontUnderline = 5;
constexpr DISPID kFontStrikethrough = 6;

}  // namespace

const ClassDescriptor& FontObject::descriptor() const {
  static const ClassDescriptor cls{u"Font", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& FontObject::Members() {
  using T = FontObject;
  static const MemberTable table = [] {
    MemberTable t;
    t.text(u"Name", kFontName, &T::getName, &T::putName);
    t.property<VT_R8>(u"Size", kFontSize, &T::getSize, &T::putSize);
    t.property<VT_BOOL>(u"Bold", kFontBold, &T::getBold, &T::putBold);
    t.property<VT_BOOL>(u"Italic", kFontItalic, &T::getItalic, &T::putItalic);
    t.property<VT_BOOL>(u"Underline", kFontUnderline, &T::getUnderline, &T::putUnderline);
    t.property<VT_BOOL>(u"Strikethrough", kFontStrikethrough, &T::getStrikethrough,
                        &T::putStrikethrough);
    return t;
  }();
  return table;
}

void FontObject::detach() {
  if (!owner_) return;
  name_ = owner_->name_;
  size_ = owner_->size_;
  bold_ = owner_->bold_;
  italic_ = owner_->italic_;
  underline_ = owner_->underline_;
  strikethrough_ = owner_->strikethrough_;
  owner_ = nullptr;
}

HRESULT FontObject::changed() {
  return owner_ ? owner_->applyFont() : S_OK;
}

HRESULT FontObject::getName(BSTR* name) {
  if (!name) return E_POINTER;
  *name = Bstr((owner_ ? owner_->name_ : name_).view()).release();
  return S_OK;
}

HRESULT FontObject::putName(BSTR name) {
  Bstr copy(std::u16string_view(name ? name : u"", SysStringLen(name)));
  (owner_ ? owner_->name_ : name_) = std::move(copy);
  return changed();
}

HRESULT FontObject::getSize(DOUBLE* size) {
  if (!size) return E_POINTER;
  *size = owner_ ? owner_->size_ : size_;
  return S_OK;
}

// A size of zero or less is no font.
HRESULT FontObject::putSize(DOUBLE size) {
  if (!(size > 0)) return SetErrorFromStatus(ErrorStatus(err::InvalidPropertyValue));
  (owner_ ? owner_->size_ : size_) = size;
  return changed();
}

HRESULT FontObject::getBold(VARIANT_BOOL* bold) {
  if (!bold) return E_POINTER;
  *bold = owner_ ? owner_->bold_ : bold_;
  return S_OK;
}

HRESULT FontObject::putBold(VARIANT_BOOL bold) {
  (owner_ ? owner_->bold_ : bold_) = bold ? VARIANT_TRUE : VARIANT_FALSE;
  return changed();
}

HRESULT FontObject::getItalic(VARIANT_BOOL* italic) {
  if (!italic) return E_POINTER;
  *italic = owner_ ? owner_->italic_ : italic_;
  return S_OK;
}

HRESULT FontObject::putItalic(VARIANT_BOOL italic) {
  (owner_ ? owner_->italic_ : italic_) = italic ? VARIANT_TRUE : VARIANT_FALSE;
  return changed();
}

VARIANT_BOOL& FontObject::flag(VARIANT_BOOL BaseFont::*owned, VARIANT_BOOL FontObject::*kept) {
  return owner_ ? owner_->*owned : this->*kept;
}

HRESULT FontObject::getUnderline(VARIANT_BOOL* underline) {
  if (!underline) return E_POINTER;
  *underline = flag(&BaseFont::underline_, &FontObject::underline_);
  return S_OK;
}

HRESULT FontObject::putUnderline(VARIANT_BOOL underline) {
  flag(&BaseFont::underline_, &FontObject::underline_) = underline ? VARIANT_TRUE : VARIANT_FALSE;
  return changed();
}

HRESULT FontObject::getStrikethrough(VARIANT_BOOL* strikethrough) {
  if (!strikethrough) return E_POINTER;
  *strikethrough = flag(&BaseFont::strikethrough_, &FontObject::strikethrough_);
  return S_OK;
}

HRESULT FontObject::putStrikethrough(VARIANT_BOOL strikethrough) {
  flag(&BaseFont::strikethrough_, &FontObject::strikethrough_) =
      strikethrough ? VARIANT_TRUE : VARIANT_FALSE;
  return changed();
}

HRESULT FontObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return Members().names().getIDsOfNames(names, count, ids);
}

HRESULT FontObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO*, UINT*) {
  ComPtr<IDispatch> hold(this);
  return Members().invoke(*this, id, flags, params, result);
}

}  // namespace rt
