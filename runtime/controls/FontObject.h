// The Font object of a control: Name, Size, Bold, Italic, Underline and
// Strikethrough by late binding.
// It is a view on its control's font description (BaseFont): a change goes
// to the description and rebuilds the control's font at once. The object may
// outlive its control; it then keeps the last description and its writes
// reach nothing.
#pragma once

#include "platform/oleauto.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/controls/DispatchObject.h"
#include "runtime/controls/MemberTable.h"

namespace rt {

class BaseFont;

class FontObject final : public ComObject<FontObject, IDispatch>, public DispatchObject {
 public:
  explicit FontObject(BaseFont* owner) : owner_(owner) {}

  static const MemberTable& Members();
  const ClassDescriptor& descriptor() const override;
  const MemberTable& members() const override { return Members(); }

  // The control is going away: keep a copy of its description.
  void detach();

  HRESULT getName(BSTR* name);
  HRESULT putName(BSTR name);
  HRESULT getSize(DOUBLE* size);
  HRESULT putSize(DOUBLE size);
  HRESULT getBold(VARIANT_BOOL* bold);
  HRESULT putBold(VARIANT_BOOL bold);
  HRESULT getItalic(VARIANT_BOOL* italic);
  HRESULT putItalic(VARIANT_BOOL italic);
  HRESULT getUnderline(VARIANT_BOOL* underline);
  HRESULT putUnderline(VARIANT_BOOL underline);
  HRESULT getStrikethrough(VARIANT_BOOL* strikethrough);
  HRESULT putStrikethrough(VARIANT_BOOL strikethrough);

  // --- IDispatch
  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO*, UINT*) override;

 private:
  friend class ComObject<FontObject, IDispatch>;
  ~FontObject() override = default;
  HRESULT changed();
  // The flag in the control's description, or the kept copy.
  VARIANT_BOOL& flag(VARIANT_BOOL BaseFont::*owned, VARIANT_BOOL FontObject::*kept);

  BaseFont* owner_;  // not counted: the font description owns this view
  // The description once detached.
  Bstr name_;
  DOUBLE size_ = 0;
  VARIANT_BOOL bold_ = VARIANT_FALSE;
  VARIANT_BOOL italic_ = VARIANT_FALSE;
  VARIANT_BOOL underline_ = VARIANT_FALSE;
  VARIANT_BOOL strikethrough_ = VARIANT_FALSE;
};

}  // namespace rt
