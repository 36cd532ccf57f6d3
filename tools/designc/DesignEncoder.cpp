#include "tools/designc/DesignEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <set>
#include <string>

#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/ValueTags.h"

namespace designc {
namespace {

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

using rt::PropertyField;
using rt::PropertyKind;
using rt::PropertyLayout;
namespace tag = rt::tag;

void PutU8(std::vector<uint8_t>& out, uint64_t v) {
  out.push_back(static_cast<uint8_t>(v));
}
void PutLittle(std::vector<uint8_t>& out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutLeb128(std::vector<uint8_t>& out, uint64_t v) {
  do {
    uint8_t byte = v & 0x7F;
    v >>= 7;
    if (v) byte |= 0x80;
    out.push_back(byte);
  } while (v);
}
void PutBytes(std::vector<uint8_t>& out, const std::string& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}
void PutGuid(std::vector<uint8_t>& out, const GUID& g) {
  PutLittle(out, g.Data1, 4);
  PutLittle(out, g.Data2, 2);
  PutLittle(out, g.Data3, 2);
  out.insert(out.end(), g.Data4, g.Data4 + 8);
}
void PutDouble(std::vector<uint8_t>& out, double d) {
  uint64_t bits = 0;
  std::memcpy(&bits, &d, 8);
  PutLittle(out, bits, 8);
}

[[noreturn]] void Fail(SourcePos pos, const std::string& reason) {
  throw DescriptionError(pos, reason);
}

std::string Describe(const PropertyField& field) {
  return std::string(rt::KindName(field.kind)) + " property " + std::string(field.name);
}

bool IsNumeric(const Value& v) {
  return v.type == Value::Type::Integer || v.type == Value::Type::Number;
}
double AsDouble(const Value& v) {
  return v.type == Value::Type::Integer ? static_cast<double>(v.integer) : v.number;
}

int64_t IntegerIn(const Value& v, int64_t low, int64_t high, const PropertyField& field) {
  if (v.type == Value::Type::Boolean) return v.boolean ? -1 : 0;
  if (v.type != Value::Type::Integer) Fail(v.pos, Describe(field) + " takes a whole number");
  if (v.integer < low || v.integer > high) {
    Fail(v.pos, "value " + std::to_string(v.integer) + " is out of range for " + Describe(field));
  }
  return v.integer;
}

// Strings up to 255 bytes take the short tag; "" keeps the long tag with a
// zero length, which reads back as an empty (not null) string.
void PutString(std::vector<uint8_t>& out, const std::string& text) {
  if (!text.empty() && text.size() < 256) {
    PutU8(out, tag::ShortString);
    PutU8(out, text.size());
  } else {
    PutU8(out, tag::String);
    PutLittle(out, text.size(), 4);
  }
  PutBytes(out, text);
}

void PutInt32(std::vector<uint8_t>& out, int64_t v) {
  if (v == 0) {
    PutU8(out, tag::Int32Zero);
  } else if (v >= -128 && v <= 127) {
    PutU8(out, tag::Int32Byte);
    PutU8(out, static_cast<uint64_t>(v));
  } else if (v >= -32768 && v <= 32767) {
    PutU8(out, tag::Int32Word);
    PutLittle(out, static_cast<uint64_t>(v), 2);
  } else {
    PutU8(out, tag::Int32);
    PutLittle(out, static_cast<uint64_t>(v), 4);
  }
}

void PutSkip(std::vector<uint8_t>& out, int64_t gap) {
  if (gap <= 127) {
    PutU8(out, tag::Skip8);
    PutU8(out, static_cast<uint64_t>(gap));
  } else if (gap <= 32767) {
    PutU8(out, tag::Skip16);
    PutLittle(out, static_cast<uint64_t>(gap), 2);
  } else {
    PutU8(out, tag::Skip32);
    PutLittle(out, static_cast<uint64_t>(gap), 4);
  }
}

// The element kind of an array element type the compiler can write.
std::optional<PropertyKind> ElementKind(VARTYPE vt) {
  switch (vt) {
    case VT_I2:
      return PropertyKind::Integer;
    case VT_BOOL:
      return PropertyKind::Boolean;
    case VT_I4:
      return PropertyKind::Long;
    case VT_R4:
      return PropertyKind::Single;
    case VT_R8:
      return PropertyKind::Double;
    case VT_DATE:
      return PropertyKind::Date;
    case VT_CY:
    case VT_I8:
      return PropertyKind::Currency;
    case VT_UI1:
      return PropertyKind::Byte;
    case VT_BSTR:
      return PropertyKind::String;
    case VT_UNKNOWN:
      return PropertyKind::Object;
    default:
      return std::nullopt;
  }
}

uint32_t ElementSize(VARTYPE vt) {
  if (vt == VT_VARIANT) return sizeof(VARIANT);
  const auto kind = ElementKind(vt);
  return kind ? rt::StorageSizeOf(*kind) : 0;
}

}  // namespace

const PropertyLayout& DesignEncoder::layoutOf(const ObjectNode& node) const {
  const PropertyLayout* layout = rt::FindPropertyLayout(node.className);
  if (!layout) Fail(node.pos, "unknown class '" + node.className + "'");
  return *layout;
}

std::vector<uint8_t> DesignEncoder::encode(const Description& description) {
  std::vector<uint8_t> data;
  PutLittle(data, description.forms.size(), 4);
  std::set<int64_t> indexes;
  for (const FormNode& form : description.forms) {
    if (form.index < 0 || form.index >= rt::kDesignSlotCount) {
      Fail(form.pos, "form index " + std::to_string(form.index) + " is outside 0 to 8091");
    }
    if (!indexes.insert(form.index).second) {
      Fail(form.pos, "form index " + std::to_string(form.index) + " is used twice");
    }
    PutLittle(data, static_cast<uint64_t>(form.index), 4);
    out_.clear();
    names_.clear();
    PutLittle(out_, rt::kDesignRecordMagic, 4);
    PutLittle(out_, 0, 4);  // the length, known at the end
    encodeObject(form.root, 0);
    const uint32_t length = static_cast<uint32_t>(out_.size());
    for (int i = 0; i < 4; ++i)
      out_[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    data.insert(data.end(), out_.begin(), out_.end());
  }
  return data;
}

void DesignEncoder::encodeObject(const ObjectNode& node, int depth) {
  if (depth >= 64) Fail(node.pos, "objects nest too deeply");
  const PropertyLayout& layout = layoutOf(node);
  if (depth > 0) checkName(node);
  PutGuid(out_, layout.clsid);
  PutU8(out_, node.events ? 1 : 0);
  if (node.events) {
    if (!node.explicitEvents && layout.events == GUID{}) {
      Fail(node.pos, "class '" + node.className + "' raises no events");
    }
    PutGuid(out_, node.explicitEvents ? node.eventsIid : layout.events);
  }
  const std::vector<uint8_t> block = encodeProperties(node, layout);
  PutLittle(out_, block.size(), 4);
  out_.insert(out_.end(), block.begin(), block.end());
  if (node.children.size() > 0xFFFF) Fail(node.pos, "too many child objects");
  PutLittle(out_, node.children.size(), 2);
  for (const ObjectNode& child : node.children)
    encodeObject(child, depth + 1);
}

void DesignEncoder::checkName(const ObjectNode& node) {
  const std::string key = LowerAscii(node.name);
  auto [use, first] = names_.try_emplace(key, NameUse{node.className, node.index >= 0, {}});
  const bool element = node.index >= 0;
  if (!first && use->second.array != element) {
    Fail(node.pos, "the name '" + node.name + "' is both a control and a control array");
  }
  if (!element) return;
  if (use->second.className != node.className) {
    Fail(node.pos, "the elements of control array '" + node.name + "' must be of one class ('" +
                       use->second.className + "')");
  }
  if (!use->second.indexes.insert(node.index).second) {
    Fail(node.pos,
         "control array '" + node.name + "' has element " + std::to_string(node.index) + " twice");
  }
}

std::vector<uint8_t> DesignEncoder::encodeProperties(const ObjectNode& node,
                                                     const PropertyLayout& layout) {
  // The object's own name is the Name property where the class has one.
  std::vector<std::pair<const PropertyField*, Value>> assigned;
  std::set<const PropertyField*> seen;
  if (!node.name.empty()) {
    if (const PropertyField* nameField = layout.find("Name")) {
      Value name;
      name.type = Value::Type::String;
      name.text = node.name;
      name.pos = node.pos;
      assigned.emplace_back(nameField, name);
      seen.insert(nameField);
    }
  }
  if (node.index >= 0) {
    // An element of a control array carries its index (and its name) in
    // its block: the loader groups the elements by them.
    const PropertyField* indexField = layout.find("Index");
    if (!indexField || indexField->kind != rt::PropertyKind::Integer || !layout.find("Name")) {
      Fail(node.pos, "class '" + node.className +
                         "' has no Name and Index properties: it cannot form a control array");
    }
    Value index;
    index.type = Value::Type::Integer;
    index.integer = node.index;
    index.pos = node.pos;
    assigned.emplace_back(indexField, index);
    seen.insert(indexField);
  }
  for (const Assignment& a : node.properties) {
    const PropertyField* field = layout.find(a.name);
    if (!field) Fail(a.pos, "class '" + node.className + "' has no property '" + a.name + "'");
    if (!seen.insert(field).second) Fail(a.pos, "property '" + a.name + "' is set twice");
    assigned.emplace_back(field, a.value);
  }
  std::stable_sort(assigned.begin(), assigned.end(),
                   [](const auto& x, const auto& y) { return x.first->offset < y.first->offset; });

  std::vector<uint8_t> members;
  int64_t cursor = 0;
  for (const auto& [field, value] : assigned) {
    const int64_t gap = int64_t{field->offset} - cursor;
    if (gap > 0) PutSkip(members, gap);
    encodeValue(value, *field, members);
    cursor =
        field->offset + (value.type == Value::Type::Empty ? 0 : rt::StorageSizeOf(field->kind));
    if (value.type == Value::Type::Empty) cursor = field->offset;
  }
  std::vector<uint8_t> block;
  if (assigned.empty()) return block;
  if (assigned.size() <= 255) {
    PutU8(block, tag::ShortRecord);
    PutU8(block, assigned.size());
  } else {
    PutU8(block, tag::Record);
    PutLittle(block, assigned.size(), 2);
  }
  block.insert(block.end(), members.begin(), members.end());
  return block;
}

void DesignEncoder::encodeValue(const Value& v, const PropertyField& field,
                                std::vector<uint8_t>& out) {
  if (v.type == Value::Type::Empty) {
    PutU8(out, tag::Nothing);
    return;
  }
  switch (field.kind) {
    case PropertyKind::Boolean: {
      if (v.type != Value::Type::Boolean && v.type != Value::Type::Integer) {
        Fail(v.pos, Describe(field) + " takes True or False");
      }
      const int64_t b = IntegerIn(v, -1, 0, field);
      PutU8(out, b ? tag::True : tag::False);
      return;
    }
    case PropertyKind::Byte:
      PutU8(out, tag::Byte);
      PutU8(out, static_cast<uint64_t>(IntegerIn(v, 0, 255, field)));
      return;
    case PropertyKind::Integer: {
      const int64_t i = IntegerIn(v, -32768, 65535, field);
      if (i == 0) {
        PutU8(out, tag::Int16Zero);
      } else if (i >= -128 && i <= 127) {
        PutU8(out, tag::Int16Byte);
        PutU8(out, static_cast<uint64_t>(i));
      } else {
        PutU8(out, tag::Int16);
        PutLittle(out, static_cast<uint64_t>(i), 2);
      }
      return;
    }
    case PropertyKind::Long:
      // Colours are written in hex and may use all 32 bits (&H8000000F).
      PutInt32(out, static_cast<int32_t>(static_cast<uint32_t>(
                        IntegerIn(v, std::numeric_limits<int32_t>::min(), UINT32_MAX, field))));
      return;
    case PropertyKind::Handle:
      PutU8(out, tag::Handle);
      PutLittle(out, static_cast<uint64_t>(IntegerIn(v, INT32_MIN, UINT32_MAX, field)), 4);
      return;
    case PropertyKind::Single: {
      if (!IsNumeric(v)) Fail(v.pos, Describe(field) + " takes a number");
      const float f = static_cast<float>(AsDouble(v));
      uint32_t bits = 0;
      std::memcpy(&bits, &f, 4);
      PutU8(out, tag::Single);
      PutLittle(out, bits, 4);
      return;
    }
    case PropertyKind::Double:
    case PropertyKind::Date:
      if (!IsNumeric(v)) Fail(v.pos, Describe(field) + " takes a number");
      PutU8(out, field.kind == PropertyKind::Date ? tag::Date : tag::Double);
      PutDouble(out, AsDouble(v));
      return;
    case PropertyKind::Currency:
      if (v.type != Value::Type::Integer) Fail(v.pos, Describe(field) + " takes a whole number");
      PutU8(out, tag::Int64);
      PutLittle(out, static_cast<uint64_t>(v.integer), 8);
      return;
    case PropertyKind::String:
      if (v.type == Value::Type::Null) {
        PutU8(out, tag::NullString);
      } else if (v.type == Value::Type::RawString) {
        PutU8(out, tag::RawString);
        PutLittle(out, v.text.size(), 4);
        PutBytes(out, v.text);
      } else if (v.type == Value::Type::String) {
        PutString(out, v.text);
      } else {
        Fail(v.pos, Describe(field) + " takes a string, raw \"...\" or Null");
      }
      return;
    case PropertyKind::Object:
      if (v.type == Value::Type::Nothing) {
        PutU8(out, tag::NullObject);
      } else if (v.type == Value::Type::Persisted) {
        PutU8(out, tag::PersistedObject);
        PutLeb128(out, v.text.size());
        PutBytes(out, v.text);
      } else if (v.type == Value::Type::Object) {
        encodeEmbedded(v, out);
      } else {
        Fail(v.pos, Describe(field) + " takes Nothing, persisted x\"...\" or an embedded object");
      }
      return;
    case PropertyKind::ByteArray:
      if (v.type == Value::Type::Array) {
        encodeArray(v, VT_UI1, out);
        return;
      }
      if (v.type != Value::Type::Bytes) Fail(v.pos, Describe(field) + " takes x\"...\" bytes");
      PutU8(out, tag::ByteArray);
      PutLittle(out, v.text.size(), 4);
      PutBytes(out, v.text);
      return;
    case PropertyKind::Array:
      if (v.type != Value::Type::Array) Fail(v.pos, Describe(field) + " takes [values]");
      encodeArray(v, field.elementType, out);
      return;
    case PropertyKind::HostedState:
      if (v.type != Value::Type::Hosted) Fail(v.pos, Describe(field) + " takes hosted { ... }");
      encodeHosted(v, out);
      return;
  }
}

void DesignEncoder::encodeArray(const Value& v, VARTYPE vt, std::vector<uint8_t>& out) {
  const uint32_t size = ElementSize(vt);
  if (size == 0) Fail(v.pos, "arrays of element type " + std::to_string(vt) + " are not supported");
  const size_t count = v.elements.size();
  if (count > 0xFFFF) Fail(v.pos, "an array holds at most 65535 elements");
  if (count <= 255 && size <= 255) {
    PutU8(out, tag::ShortArray);
    PutU8(out, count);
    PutU8(out, size);
  } else {
    PutU8(out, tag::Array);
    PutLittle(out, count, 2);
    PutLittle(out, size, 2);
  }
  PutU8(out, vt);
  if (vt == VT_VARIANT) {
    for (const Value& element : v.elements)
      encodeVariant(element, out);
    return;
  }
  const PropertyField elementField{"element", *ElementKind(vt), 0};
  for (const Value& element : v.elements) {
    if (element.type == Value::Type::Empty) Fail(element.pos, "an array element cannot be Empty");
    encodeValue(element, elementField, out);
  }
}

void DesignEncoder::encodeVariant(const Value& v, std::vector<uint8_t>& out) {
  switch (v.type) {
    case Value::Type::Integer:
      if (v.integer < INT32_MIN || v.integer > INT32_MAX)
        Fail(v.pos, "a variant holds 32-bit whole numbers");
      PutInt32(out, v.integer);
      return;
    case Value::Type::Number:
      PutU8(out, tag::Double);
      PutDouble(out, v.number);
      return;
    case Value::Type::String:
      PutString(out, v.text);
      return;
    case Value::Type::RawString:
      PutU8(out, tag::RawString);
      PutLittle(out, v.text.size(), 4);
      PutBytes(out, v.text);
      return;
    case Value::Type::Boolean:
      PutU8(out, v.boolean ? tag::True : tag::False);
      return;
    case Value::Type::Null:
      PutU8(out, tag::NullString);
      return;
    case Value::Type::Nothing:
      PutU8(out, tag::NullObject);
      return;
    case Value::Type::Empty:
      PutU8(out, tag::Nothing);
      return;
    case Value::Type::Bytes:
      PutU8(out, tag::ByteArray);
      PutLittle(out, v.text.size(), 4);
      PutBytes(out, v.text);
      return;
    case Value::Type::Persisted:
      PutU8(out, tag::PersistedObject);
      PutLeb128(out, v.text.size());
      PutBytes(out, v.text);
      return;
    case Value::Type::Array:
      encodeArray(v, VT_VARIANT, out);
      return;
    case Value::Type::Object:
    case Value::Type::Hosted:
      Fail(v.pos, "a named value or variant cannot hold this value");
  }
}

void DesignEncoder::encodeEmbedded(const Value& v, std::vector<uint8_t>& out) {
  const ObjectNode& node = *v.object;
  const PropertyLayout& layout = layoutOf(node);
  if (node.events) {
    if (!node.explicitEvents && layout.events == GUID{}) {
      Fail(node.pos, "class '" + node.className + "' raises no events");
    }
    PutU8(out, tag::EmbeddedObjectWithEvents);
    PutGuid(out, layout.clsid);
    PutGuid(out, GUID{});
    PutGuid(out, node.explicitEvents ? node.eventsIid : layout.events);
    PutLeb128(out, static_cast<uint64_t>(node.member));
  } else {
    PutU8(out, tag::EmbeddedObject);
    PutGuid(out, layout.clsid);
    PutGuid(out, GUID{});
  }
  std::vector<uint8_t> block = encodeProperties(node, layout);
  if (block.empty()) block = {tag::ShortRecord, 0};  // the one value the reader expects
  out.insert(out.end(), block.begin(), block.end());
}

void DesignEncoder::encodeHosted(const Value& v, std::vector<uint8_t>& out) {
  switch (v.hostedMode) {
    case Value::HostedMode::Flagged:
      PutU8(out, tag::HostedState);
      break;
    case Value::HostedMode::NoState:
      PutU8(out, tag::HostedNoState);
      break;
    case Value::HostedMode::Unflagged:
      PutU8(out, tag::HostedStateNoFlag);
      break;
  }
  if (v.hostedMode != Value::HostedMode::NoState) {
    PutLeb128(out, v.text.size());
    PutBytes(out, v.text);
  }
  if (v.entries.size() > 0xFFFF) Fail(v.pos, "too many named values");
  PutLittle(out, v.entries.size(), 2);
  for (const NamedEntry& entry : v.entries) {
    PutLeb128(out, entry.name.size());
    PutBytes(out, entry.name);
    PutU8(out, entry.flag);
    encodeVariant(entry.value, out);
  }
}

}  // namespace designc
