#include "runtime/forms/design/PropertyLayout.h"

#include <algorithm>
#include <string>

namespace rt {
namespace {

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

std::vector<const PropertyLayout*>& Layouts() {
  static std::vector<const PropertyLayout*> layouts;
  return layouts;
}

}  // namespace

uint32_t StorageSizeOf(PropertyKind kind) {
  switch (kind) {
    case PropertyKind::Boolean:
      return sizeof(VARIANT_BOOL);
    case PropertyKind::Byte:
      return sizeof(uint8_t);
    case PropertyKind::Integer:
      return sizeof(int16_t);
    case PropertyKind::Long:
      return sizeof(int32_t);
    case PropertyKind::Single:
      return sizeof(float);
    case PropertyKind::Double:
      return sizeof(double);
    case PropertyKind::Date:
      return sizeof(DATE);
    case PropertyKind::Currency:
      return sizeof(int64_t);
    case PropertyKind::String:
      return sizeof(Bstr);
    case PropertyKind::Object:
      return sizeof(ComPtr<IUnknown>);
    case PropertyKind::Handle:
      return sizeof(uint32_t);
    case PropertyKind::ByteArray:
    case PropertyKind::Array:
      return sizeof(OwnedSafeArray);
    case PropertyKind::HostedState:
      return sizeof(HostedControlState);
  }
  return 0;
}

std::string_view KindName(PropertyKind kind) {
  switch (kind) {
    case PropertyKind::Boolean:
      return "Boolean";
    case PropertyKind::Byte:
      return "Byte";
    case PropertyKind::Integer:
      return "Integer";
    case PropertyKind::Long:
      return "Long";
    case PropertyKind::Single:
      return "Single";
    case PropertyKind::Double:
      return "Double";
    case PropertyKind::Date:
      return "Date";
    case PropertyKind::Currency:
      return "Currency";
    case PropertyKind::String:
      return "String";
    case PropertyKind::Object:
      return "Object";
    case PropertyKind::Handle:
      return "Handle";
    case PropertyKind::ByteArray:
      return "ByteArray";
    case PropertyKind::Array:
      return "Array";
    case PropertyKind::HostedState:
      return "HostedState";
  }
  return "?";
}

const PropertyField* PropertyLayout::find(std::string_view name) const {
  for (const PropertyField& field : fields) {
    if (EqualsAsciiNoCase(field.name, name)) return &field;
  }
  return nullptr;
}

const PropertyField* PropertyLayout::fieldAt(uint32_t offset) const {
  const auto it = std::lower_bound(fields.begin(), fields.end(), offset,
                                   [](const PropertyField& f, uint32_t o) { return f.offset < o; });
  if (it == fields.end() || it->offset != offset) return nullptr;
  return &*it;
}

std::string CheckLayout(const PropertyLayout& layout) {
  uint32_t end = 0;
  for (const PropertyField& field : layout.fields) {
    const std::string name(field.name);
    if (field.offset < end) return "field " + name + " overlaps the field before it";
    end = field.offset + StorageSizeOf(field.kind);
    if (end > layout.storageSize) return "field " + name + " ends past the storage";
    if (field.kind == PropertyKind::Array && field.elementType == VT_EMPTY) {
      return "array field " + name + " has no element type";
    }
  }
  return {};
}

void RegisterPropertyLayout(const PropertyLayout& layout) {
  auto& layouts = Layouts();
  std::erase_if(layouts, [&](const PropertyLayout* l) {
    return l->clsid == layout.clsid || EqualsAsciiNoCase(l->className, layout.className);
  });
  layouts.push_back(&layout);
}

void UnregisterPropertyLayout(const CLSID& clsid) {
  std::erase_if(Layouts(), [&](const PropertyLayout* l) { return l->clsid == clsid; });
}

const PropertyLayout* FindPropertyLayout(const CLSID& clsid) {
  for (const PropertyLayout* layout : Layouts()) {
    if (layout->clsid == clsid) return layout;
  }
  return nullptr;
}

const PropertyLayout* FindPropertyLayout(std::string_view className) {
  for (const PropertyLayout* layout : Layouts()) {
    if (EqualsAsciiNoCase(layout->className, className)) return layout;
  }
  return nullptr;
}

}  // namespace rt
