// A class's design property record, described once.
//
// Every class that reads design properties keeps them in a plain storage
// struct and describes that struct here: each field's name, its value kind
// and its offset. The design compiler (tools/designc) encodes a description's
// property assignments against the layout, and the class decodes its property
// block into the same struct through PropertyReader, so the two never drift.
//
//   struct LabelProperties { Bstr caption; int32_t backColor; VARIANT_BOOL autoSize; };
//   inline constexpr PropertyField kLabelFields[] = {
//       {"Caption", PropertyKind::String, offsetof(LabelProperties, caption)},
//       {"BackColor", PropertyKind::Long, offsetof(LabelProperties, backColor)},
//       {"AutoSize", PropertyKind::Boolean, offsetof(LabelProperties, autoSize)}};
//   inline constexpr PropertyLayout kLabelLayout{"Label", kLabelClsid,
//       sizeof(LabelProperties), kLabelFields};
//
// The C++ type a field of each kind must have in the storage struct is listed
// beside the kind; the reader writes through exactly that type.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/oleauto.h"

namespace rt {

enum class PropertyKind : uint8_t {
  Boolean,      // VARIANT_BOOL (0 false, -1 true)
  Byte,         // uint8_t
  Integer,      // int16_t
  Long,         // int32_t (numbers, colours, enumerations)
  Single,       // float
  Double,       // double (positions and sizes)
  Date,         // DATE
  Currency,     // int64_t (currency and 64-bit integers)
  String,       // Bstr
  Object,       // ComPtr<IUnknown>: embedded objects (fonts, pictures)
  Handle,       // uint32_t: a 32-bit value typed as object
  ByteArray,    // OwnedSafeArray of VT_UI1
  Array,        // OwnedSafeArray of PropertyField::elementType
  HostedState,  // HostedControlState: persisted state of a hosted control
};

// Destination bytes a value of the kind fills (the size of its storage type).
uint32_t StorageSizeOf(PropertyKind kind);
// "Boolean", "Long", ... (diagnostics and docs).
std::string_view KindName(PropertyKind kind);

struct SafeArrayDestroyer {
  void operator()(SAFEARRAY* array) const { SafeArrayDestroy(array); }
};
using OwnedSafeArray = std::unique_ptr<SAFEARRAY, SafeArrayDestroyer>;

// One entry of a hosted control's named-value list.
struct NamedValue {
  std::string name;  // as stored: bytes of the name
  uint8_t flag = 0;
  Variant value;
};

// What the value stream hands a hosted control (tags 0xED, 0xEE, 0xEF).
struct HostedControlState {
  bool hasState = false;       // state bytes were stored (0xED, 0xEF)
  bool persistedFlag = false;  // 0xED marks the control as carrying persisted state
  std::vector<uint8_t> state;
  std::vector<NamedValue> entries;
};

struct PropertyField {
  std::string_view name;
  PropertyKind kind;
  uint32_t offset;
  // Array fields: the element type (VT_I2, VT_I4, VT_R8, VT_BSTR, ...).
  VARTYPE elementType = VT_EMPTY;
};

struct PropertyLayout {
  // The class's name in form descriptions ("TextBox"); unique in the registry.
  std::string_view className;
  CLSID clsid;
  uint32_t storageSize;
  // In ascending offset order, without overlaps.
  std::span<const PropertyField> fields;
  // The event interface the form connects when it handles the object's
  // events (GUID_NULL: the class raises none).
  IID events{};

  // The field of that name, compared case-insensitively in ASCII; null if none.
  const PropertyField* find(std::string_view name) const;
  // The field starting exactly at offset; null if none.
  const PropertyField* fieldAt(uint32_t offset) const;
};

// Checks a layout's invariants (ascending, non-overlapping fields inside the
// storage); returns the first problem, empty when sound.
std::string CheckLayout(const PropertyLayout& layout);

// The process-wide list of layouts that the design compiler encodes against
// and that embedded objects are decoded with. Registering a class identifier
// or a class name again replaces the earlier layout. Not thread-safe: fill it
// at start-up.
void RegisterPropertyLayout(const PropertyLayout& layout);
void UnregisterPropertyLayout(const CLSID& clsid);
const PropertyLayout* FindPropertyLayout(const CLSID& clsid);
const PropertyLayout* FindPropertyLayout(std::string_view className);

// Defined by runtime_controls: registers the layouts of the form and every
// intrinsic control. The design compiler calls it when it links the controls.
void RegisterControlPropertyLayouts();

}  // namespace rt
