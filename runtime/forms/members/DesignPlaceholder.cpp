#include "runtime/forms/members/DesignPlaceholder.h"

#include <nlohmann/json.hpp>

#include "platform/kernel.h"
#include "platform/oleauto.h"

namespace rt {
namespace {

namespace id = placeholder_id;

std::u16string FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::u16string result(static_cast<size_t>(length > 0 ? length : 0), u'\0');
  if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
  return result;
}

bool ReadNumbers(const nlohmann::json& object, const char* const (&keys)[4],
                 std::array<double, 4>& out) {
  for (size_t i = 0; i < 4; ++i) {
    const auto found = object.find(keys[i]);
    if (found == object.end() || !found->is_number()) return false;
    out[i] = found->get<double>();
  }
  return true;
}

// The names every placeholder answers, and those of a rectangle or a line.
SymbolTable MakeTable(bool line) {
  SymbolTable table(16);
  table.add({u"Name", id::Name});
  table.add({u"TabStop", id::TabStop});
  table.add({u"Index", id::Index});
  table.add({u"Container", id::Container});
  table.add({u"Visible", id::Visible});
  if (line) {
    table.add({u"X1", id::X1});
    table.add({u"Y1", id::Y1});
    table.add({u"X2", id::X2});
    table.add({u"Y2", id::Y2});
  } else {
    table.add({u"Left", id::Left});
    table.add({u"Top", id::Top});
    table.add({u"Width", id::Width});
    table.add({u"Height", id::Height});
  }
  return table;
}

// Coordinate index of a dispatch identifier for this shape of placeholder, or -1.
int CoordinateOf(DISPID member, bool line) {
  if (line) {
    if (member >= id::Y2 && member <= id::X1) return id::X1 - member;
    return -1;
  }
  if (member >= id::Height && member <= id::Left) return id::Left - member;
  return -1;
}

}  // namespace

ComPtr<DesignPlaceholder> DesignPlaceholder::FromJson(std::string_view json, IDispatch* container) {
  const nlohmann::json object = nlohmann::json::parse(json, nullptr, /*allow_exceptions=*/false);
  if (!object.is_object()) return nullptr;
  auto placeholder = MakeComObject<DesignPlaceholder>();
  if (const auto name = object.find("name"); name != object.end() && name->is_string()) {
    placeholder->name_ = FromUtf8(name->get<std::string>());
  }
  static constexpr const char* kRectangle[4] = {"left", "top", "width", "height"};
  static constexpr const char* kLine[4] = {"x1", "y1", "x2", "y2"};
  if (!ReadNumbers(object, kRectangle, placeholder->coordinates_)) {
    if (!ReadNumbers(object, kLine, placeholder->coordinates_)) return nullptr;
    placeholder->line_ = true;
  }
  if (const auto added = object.find("isNewlyAddedToContainer");
      added != object.end() && added->is_boolean()) {
    placeholder->newlyAdded_ = added->get<bool>();
  }
  placeholder->container_ = container;
  return placeholder;
}

const SymbolTable& DesignPlaceholder::names() const {
  static const SymbolTable rectangle = MakeTable(false);
  static const SymbolTable line = MakeTable(true);
  return line_ ? line : rectangle;
}

HRESULT DesignPlaceholder::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return this->names().getIDsOfNames(names, count, ids);
}

HRESULT DesignPlaceholder::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* excep, UINT*) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return write(member, params);
  return read(member, result, excep);
}

HRESULT DesignPlaceholder::read(DISPID member, VARIANT* result, EXCEPINFO* excep) const {
  Variant value;
  if (const int coordinate = CoordinateOf(member, line_); coordinate >= 0) {
    value = Variant::R8(coordinates_[static_cast<size_t>(coordinate)]);
  } else if (member == id::Name) {
    value = Variant::Str(name_);
  } else if (member == id::TabStop || member == id::Visible) {
    value = Variant::Bool(true);
  } else if (member == id::Container) {
    value.vt = VT_DISPATCH;
    value.pdispVal = container_.Get();
    if (value.pdispVal) value.pdispVal->AddRef();
  } else if (member == id::Index) {
    if (excep) {
      *excep = EXCEPINFO{};
      excep->bstrDescription =
          SysAllocStringLen(kIndexError.data(), static_cast<UINT>(kIndexError.size()));
    }
    return DISP_E_EXCEPTION;
  } else {
    return DISP_E_MEMBERNOTFOUND;
  }
  if (!result) return S_OK;
  *result = value;
  VariantInit(&value);
  return S_OK;
}

HRESULT DesignPlaceholder::write(DISPID member, const DISPPARAMS* params) const {
  if (member != id::Visible) return DISP_E_MEMBERNOTFOUND;
  if (!params || params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
  Variant asBoolean;
  return VariantChangeType(&asBoolean, &params->rgvarg[0], 0, VT_BOOL);
}

}  // namespace rt
