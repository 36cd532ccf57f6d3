// The stand-in dispatch object for a control that is not instantiated while
// the engine runs inside the design environment. It knows the control's name,
// its rectangle (or, for a line, its end points) and its container, and
// answers a few members by name:
//
//   "Name" -800, "Left" -850, "Top" -851, "Width" -852, "Height" -853,
//   "TabStop" -854, "Index" -855, "Container" -856, "Visible" -857,
//   "X1" -859, "Y1" -860, "X2" -861, "Y2" -862.
//
// The rectangle members exist only for a placeholder with a rectangle and the
// end points only for a line. Every member is read-only except "Visible",
// which accepts (and ignores) any value convertible to a Boolean.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/com/ComObject.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/forms/members/SymbolTable.h"

namespace rt {

namespace placeholder_id {
inline constexpr DISPID Name = -800;
inline constexpr DISPID Left = -850;
inline constexpr DISPID Top = -851;
inline constexpr DISPID Width = -852;
inline constexpr DISPID Height = -853;
inline constexpr DISPID TabStop = -854;
inline constexpr DISPID Index = -855;
inline constexpr DISPID Container = -856;
inline constexpr DISPID Visible = -857;
inline constexpr DISPID X1 = -859;
inline constexpr DISPID Y1 = -860;
inline constexpr DISPID X2 = -861;
inline constexpr DISPID Y2 = -862;
}  // namespace placeholder_id

class DesignPlaceholder final : public ComObject<DesignPlaceholder, IDispatch> {
 public:
  // The text the "Index" read fails with.
  static constexpr std::u16string_view kIndexError = u"An Error...";

  // Builds the placeholder from the design environment's JSON object:
  // {"name", "left", "top", "width", "height", "isNewlyAddedToContainer"} or
  // {"name", "x1", "y1", "x2", "y2", "isNewlyAddedToContainer"}. Null for a
  // text that is not such an object. container may be null.
  static ComPtr<DesignPlaceholder> FromJson(std::string_view json, IDispatch* container);

  DesignPlaceholder() = default;

  bool isLine() const { return line_; }
  bool isNewlyAddedToContainer() const { return newlyAdded_; }

  HRESULT GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

 private:
  friend class ComObject<DesignPlaceholder, IDispatch>;
  ~DesignPlaceholder() override = default;

  HRESULT read(DISPID id, VARIANT* result, EXCEPINFO* excep) const;
  HRESULT write(DISPID id, const DISPPARAMS* params) const;
  const SymbolTable& names() const;

  std::u16string name_;
  // left, top, width, height, or x1, y1, x2, y2 for a line.
  std::array<double, 4> coordinates_{};
  bool line_ = false;
  bool newlyAdded_ = false;
  ComPtr<IDispatch> container_;
};

}  // namespace rt
