// The extender's companion: the object that answers the extender members
// (by name, through IDispatch) and the container's ambient properties the
// hosted control may ask for. It contains the extender members' storage.
#pragma once

#include "runtime/com/ComObject.h"
#include "runtime/controls/extender/BaseControlActiveXExtender.h"

namespace rt {

// The ambient property the hosted control reads for its container's units.
inline constexpr DISPID DISPID_AMBIENT_SCALEUNITS = -716;

// The name of a container's scale mode: 0 "User", 1 "Twip", 2 "Point",
// 3 "Pixel", 4 "Character", 5 "Inch", 6 "Millimeter", 7 "Centimeter",
// -1 "Pixel", anything else "Twip".
const char16_t* ScaleUnitsName(int scaleMode);

class ActiveXControlExtenderX final : public ComObject<ActiveXControlExtenderX, IDispatch> {
 public:
  // Extender members (dispatch ids).
  static constexpr DISPID kName = 1;
  static constexpr DISPID kIndex = 2;
  static constexpr DISPID kLeft = 3;
  static constexpr DISPID kTop = 4;
  static constexpr DISPID kWidth = 5;
  static constexpr DISPID kHeight = 6;
  static constexpr DISPID kVisible = 7;
  static constexpr DISPID kEnabled = 8;
  static constexpr DISPID kTag = 9;

  ActiveXControlExtenderX() = default;

  BaseControlActiveXExtender& base() { return base_; }
  // The container's scale mode the ambient scale units name.
  void setScaleMode(int mode) { scaleMode_ = mode; }

  // The id of an extender member's name (any case); DISPID_UNKNOWN for none.
  static DISPID memberId(const char16_t* name);

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  // Extender members (get and let) and the ambient scale units.
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

 private:
  ~ActiveXControlExtenderX() override = default;
  friend class ComObject<ActiveXControlExtenderX, IDispatch>;

  HRESULT get(DISPID id, VARIANT* result);
  HRESULT let(DISPID id, const VARIANT& value);

  BaseControlActiveXExtender base_;
  int scaleMode_ = 1;
};

}  // namespace rt
