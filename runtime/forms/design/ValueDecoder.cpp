#include "runtime/forms/design/internal/ValueDecoder.h"

#include <cstring>
#include <string>

#include "platform/kernel.h"
#include "platform/oleauto.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignStorage.h"
#include "runtime/forms/design/ValueTags.h"
#include "runtime/forms/design/internal/DesignMessages.h"
#include "runtime/forms/design/internal/PersistedObjects.h"

namespace rt::design {
namespace {

static_assert(sizeof(Bstr) == sizeof(BSTR), "a String field is one BSTR");
static_assert(sizeof(ComPtr<IUnknown>) == sizeof(IUnknown*), "an Object field is one pointer");
static_assert(sizeof(OwnedSafeArray) == sizeof(SAFEARRAY*), "an array field is one pointer");

// A value whose tag carries no structure: a number, a text, a null object.
struct Scalar {
  enum class Family { Word, DWord, QWord, Byte, String, NullObject, Nothing } family;
  uint8_t tag = 0;
  uint64_t bits = 0;    // the payload, sign-extended where the tag says so
  BSTR text = nullptr;  // String family; owned until stored
};

// The text of UTF-8 bytes; short texts convert through a stack buffer.
BSTR TextFromUtf8(std::span<const uint8_t> bytes) {
  if (bytes.empty()) return SysAllocStringLen(u"", 0);
  const auto* source = reinterpret_cast<LPCSTR>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  if (bytes.size() < 512) {
    OLECHAR buffer[512];
    const int n = MultiByteToWideChar(CP_UTF8, 0, source, length, buffer, 512);
    return SysAllocStringLen(buffer, static_cast<UINT>(n));
  }
  const int n = MultiByteToWideChar(CP_UTF8, 0, source, length, nullptr, 0);
  BSTR text = SysAllocStringLen(nullptr, static_cast<UINT>(n));
  if (text) MultiByteToWideChar(CP_UTF8, 0, source, length, text, n);
  return text;
}

uint32_t WidthOf(Scalar::Family family) {
  switch (family) {
    case Scalar::Family::Word:
      return 2;
    case Scalar::Family::DWord:
      return 4;
    case Scalar::Family::QWord:
      return 8;
    case Scalar::Family::Byte:
      return 1;
    case Scalar::Family::String:
    case Scalar::Family::NullObject:
    case Scalar::Family::Nothing:
      return 0;
  }
  return 0;
}

bool Accepts(Scalar::Family family, PropertyKind kind) {
  switch (family) {
    case Scalar::Family::Word:
      return kind == PropertyKind::Integer || kind == PropertyKind::Boolean;
    case Scalar::Family::DWord:
      return kind == PropertyKind::Long || kind == PropertyKind::Single ||
             kind == PropertyKind::Handle;
    case Scalar::Family::QWord:
      return kind == PropertyKind::Double || kind == PropertyKind::Date ||
             kind == PropertyKind::Currency;
    case Scalar::Family::Byte:
      return kind == PropertyKind::Byte;
    case Scalar::Family::String:
      return kind == PropertyKind::String;
    case Scalar::Family::NullObject:
      return kind == PropertyKind::Object;
    case Scalar::Family::Nothing:
      return true;
  }
  return false;
}

// Reads the payload of a scalar tag. Returns false on a short read; sets
// `isScalar` false (and reads nothing) for a tag of another shape.
bool ReadScalar(DesignReader& reader, uint8_t t, Scalar& out, bool& isScalar) {
  isScalar = true;
  out.tag = t;
  using F = Scalar::Family;
  const auto word = [&](F family, uint64_t bits) {
    out.family = family;
    out.bits = bits;
    return true;
  };
  switch (t) {
    case tag::Int16: {
      int16_t v = 0;
      return reader.readI16(v) && word(F::Word, static_cast<uint16_t>(v));
    }
    case tag::Int16Byte: {
      int8_t v = 0;
      return reader.readI8(v) && word(F::Word, static_cast<uint16_t>(int16_t{v}));
    }
    case tag::Int16Zero:
      return word(F::Word, 0);
    case tag::False:
      return word(F::Word, 0);
    case tag::True:
      return word(F::Word, 0xFFFF);
    case tag::Int32:
    case tag::Single:
    case tag::Handle: {
      uint32_t v = 0;
      return reader.readU32(v) && word(F::DWord, v);
    }
    case tag::Int32Byte: {
      int8_t v = 0;
      return reader.readI8(v) && word(F::DWord, static_cast<uint32_t>(int32_t{v}));
    }
    case tag::Int32Word: {
      int16_t v = 0;
      return reader.readI16(v) && word(F::DWord, static_cast<uint32_t>(int32_t{v}));
    }
    case tag::Int32Zero:
      return word(F::DWord, 0);
    case tag::Double:
    case tag::Date:
    case tag::Int64: {
      uint64_t v = 0;
      return reader.readU64(v) && word(F::QWord, v);
    }
    case tag::Byte: {
      uint8_t v = 0;
      return reader.readU8(v) && word(F::Byte, v);
    }
    case tag::NullObject:
      return word(F::NullObject, 0);
    case tag::Nothing:
      return word(F::Nothing, 0);
    case tag::NullString:
      return word(F::String, 0);
    case tag::String:
    case tag::ShortString:
    case tag::RawString: {
      uint32_t length = 0;
      if (t == tag::ShortString) {
        uint8_t n = 0;
        if (!reader.readU8(n)) return false;
        length = n;
      } else if (!reader.readU32(length)) {
        return false;
      }
      std::span<const uint8_t> bytes;
      if (!reader.readBytes(length, bytes)) return false;
      out.family = F::String;
      out.text = t == tag::RawString
                     ? SysAllocStringByteLen(reinterpret_cast<LPCSTR>(bytes.data()), length)
                     : TextFromUtf8(bytes);
      return true;
    }
    default:
      isScalar = false;
      return true;
  }
}

template <typename T>
T* SlotAs(const Destination& dest, int64_t offset) {
  return reinterpret_cast<T*>(dest.base + offset);
}

bool StoreScalar(const Destination& dest, int64_t offset, Scalar& value, int64_t& filled) {
  filled = 0;
  if (value.family == Scalar::Family::Nothing) return true;
  const std::optional<PropertyField> slot = dest.slotAt(offset);
  if (!slot || !Accepts(value.family, slot->kind)) {
    SysFreeString(value.text);
    return false;
  }
  switch (value.family) {
    case Scalar::Family::String: {
      BSTR* target = SlotAs<BSTR>(dest, offset);
      SysFreeString(*target);
      *target = std::exchange(value.text, nullptr);
      break;
    }
    case Scalar::Family::NullObject: {
      IUnknown** target = SlotAs<IUnknown*>(dest, offset);
      if (IUnknown* old = std::exchange(*target, nullptr)) old->Release();
      break;
    }
    default: {
      const uint64_t bits = value.bits;
      std::memcpy(dest.base + offset, &bits, WidthOf(value.family));  // little-endian host
      break;
    }
  }
  filled = StorageSizeOf(slot->kind);
  return true;
}

void StoreObject(const Destination& dest, int64_t offset, IUnknown* adopted) {
  IUnknown** target = SlotAs<IUnknown*>(dest, offset);
  IUnknown* old = std::exchange(*target, adopted);
  if (old) old->Release();
}

void ScalarToVariant(Scalar& value, VARIANT& out) {
  VariantClear(&out);
  switch (value.tag) {
    case tag::False:
    case tag::True:
      out.vt = VT_BOOL;
      out.boolVal = static_cast<VARIANT_BOOL>(value.bits);
      return;
    case tag::Single:
      out.vt = VT_R4;
      std::memcpy(&out.fltVal, &value.bits, 4);
      return;
    case tag::Double:
      out.vt = VT_R8;
      std::memcpy(&out.dblVal, &value.bits, 8);
      return;
    case tag::Date:
      out.vt = VT_DATE;
      std::memcpy(&out.date, &value.bits, 8);
      return;
    case tag::Int64:
      out.vt = VT_I8;
      out.llVal = static_cast<LONGLONG>(value.bits);
      return;
    default:
      break;
  }
  switch (value.family) {
    case Scalar::Family::Word:
      out.vt = VT_I2;
      out.iVal = static_cast<SHORT>(value.bits);
      return;
    case Scalar::Family::DWord:
      out.vt = VT_I4;
      out.lVal = static_cast<LONG>(value.bits);
      return;
    case Scalar::Family::QWord:
      out.vt = VT_I8;
      out.llVal = static_cast<LONGLONG>(value.bits);
      return;
    case Scalar::Family::Byte:
      out.vt = VT_UI1;
      out.bVal = static_cast<BYTE>(value.bits);
      return;
    case Scalar::Family::String:
      out.vt = VT_BSTR;
      out.bstrVal = std::exchange(value.text, nullptr);
      return;
    case Scalar::Family::NullObject:
      out.vt = VT_DISPATCH;
      out.pdispVal = nullptr;
      return;
    case Scalar::Family::Nothing:
      return;
  }
}

// The element kind of an array element type, if the stream can fill it.
std::optional<PropertyKind> ElementKindOf(VARTYPE vt) {
  switch (vt) {
    case VT_I2:
      return PropertyKind::Integer;
    case VT_BOOL:
      return PropertyKind::Boolean;
    case VT_I4:
    case VT_ERROR:
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
    case VT_DISPATCH:
      return PropertyKind::Object;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<PropertyField> Destination::slotAt(int64_t offset) const {
  if (offset < 0 || offset >= int64_t{size}) return std::nullopt;
  const auto at = static_cast<uint32_t>(offset);
  if (layout) {
    const PropertyField* field = layout->fieldAt(at);
    if (!field) return std::nullopt;
    return *field;
  }
  if (elementSize == 0 || at % elementSize != 0) return std::nullopt;
  return PropertyField{"", elementKind, at};
}

bool ValueDecoder::unknownTag(int number) {
  ShowDesignMessage(
      std::u16string(u"") +
          [&] {
            std::u16string digits;
            for (const char c : std::to_string(number))
              digits.push_back(static_cast<char16_t>(c));
            return digits;
          }(),
      kInternalErrorCaption);
  RaiseInternalAssertion("invalid tag in a property value stream");
  return false;
}

bool ValueDecoder::decode(const Destination& dest, int64_t offset, int depth, int64_t& filled) {
  filled = 0;
  if (depth > kMaxValueNesting) return false;
  uint8_t t = 0;
  if (!reader_.readU8(t)) return false;
  Scalar scalar{};
  bool isScalar = false;
  if (!ReadScalar(reader_, t, scalar, isScalar)) return false;
  if (isScalar) return StoreScalar(dest, offset, scalar, filled);

  switch (t) {
    case tag::Record: {
      uint16_t count = 0;
      return reader_.readU16(count) && decodeRecord(dest, offset, count, depth, filled);
    }
    case tag::ShortRecord: {
      uint8_t count = 0;
      return reader_.readU8(count) && decodeRecord(dest, offset, count, depth, filled);
    }
    case tag::Skip8: {
      int8_t n = 0;
      return reader_.readI8(n) && decodeSkip(dest, offset, n, depth, filled);
    }
    case tag::Skip16: {
      int16_t n = 0;
      return reader_.readI16(n) && decodeSkip(dest, offset, n, depth, filled);
    }
    case tag::Skip32: {
      int32_t n = 0;
      return reader_.readI32(n) && decodeSkip(dest, offset, n, depth, filled);
    }
    case tag::EmbeddedObject:
      return decodeEmbedded(dest, offset, false, depth, filled);
    case tag::EmbeddedObjectWithEvents:
      return decodeEmbedded(dest, offset, true, depth, filled);
    case tag::ShortArray: {
      uint8_t count = 0, size = 0, type = 0;
      return reader_.readU8(count) && reader_.readU8(size) && reader_.readU8(type) &&
             decodeArray(dest, offset, count, size, type, depth, filled);
    }
    case tag::Array: {
      uint16_t count = 0, size = 0;
      uint8_t type = 0;
      return reader_.readU16(count) && reader_.readU16(size) && reader_.readU8(type) &&
             decodeArray(dest, offset, count, size, type, depth, filled);
    }
    case tag::ByteArray: {
      uint32_t length = 0;
      std::span<const uint8_t> bytes;
      if (!reader_.readU32(length) || !reader_.readBytes(length, bytes)) return false;
      const std::optional<PropertyField> slot = dest.slotAt(offset);
      if (!slot || slot->kind != PropertyKind::ByteArray) return false;
      SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, length);
      if (!array) return false;
      if (length) std::memcpy(array->pvData, bytes.data(), length);
      SlotAs<OwnedSafeArray>(dest, offset)->reset(array);
      filled = StorageSizeOf(slot->kind);
      return true;
    }
    case tag::PersistedObject: {
      uint32_t length = 0;
      std::span<const uint8_t> bytes;
      if (!reader_.readLeb128(length) || !reader_.readBytes(length, bytes)) return false;
      const std::optional<PropertyField> slot = dest.slotAt(offset);
      if (!slot || slot->kind != PropertyKind::Object) return false;
      IUnknown* object = nullptr;
      if (FAILED(LoadPersistedObject(bytes, &object))) return false;
      StoreObject(dest, offset, object);
      filled = StorageSizeOf(slot->kind);
      return true;
    }
    case tag::HostedState:
    case tag::HostedNoState:
    case tag::HostedStateNoFlag:
      return decodeHosted(dest, offset, t, depth, filled);
    case tag::Invalid:
      return unknownTag(tag::kInvalidTagNumber);
    default:
      return unknownTag(t);
  }
}

bool ValueDecoder::decodeRecord(const Destination& dest, int64_t offset, uint32_t count, int depth,
                                int64_t& filled) {
  int64_t total = 0;
  for (uint32_t i = 0; i < count; ++i) {
    int64_t member = 0;
    if (!decode(dest, offset + total, depth + 1, member)) return false;
    total += member;
  }
  filled = total;
  return true;
}

bool ValueDecoder::decodeSkip(const Destination& dest, int64_t offset, int64_t skip, int depth,
                              int64_t& filled) {
  int64_t inner = 0;
  if (!decode(dest, offset + skip, depth + 1, inner)) return false;
  filled = skip + inner;
  return true;
}

bool ValueDecoder::decodeEmbedded(const Destination& dest, int64_t offset, bool withEvents,
                                  int depth, int64_t& filled) {
  CLSID clsid{};
  GUID further{};
  IID events{};
  uint32_t memberId = 0;
  if (!reader_.readGuid(clsid) || !reader_.readGuid(further)) return false;
  if (withEvents && (!reader_.readGuid(events) || !reader_.readLeb128(memberId))) return false;
  const std::optional<PropertyField> slot = dest.slotAt(offset);
  if (!slot || slot->kind != PropertyKind::Object) return false;

  IUnknown** target = SlotAs<IUnknown*>(dest, offset);
  if (!*target) {
    IUnknown* created = nullptr;
    if (FAILED(CurrentClassRegistry().createInstance(clsid, &created))) return false;
    *target = created;
  }
  const ComPtr<IDesignStorage> storage = QueryInterfaceOf<IDesignStorage>(*target);
  if (!storage) return false;
  const DesignStorageView view = storage->designStorage();
  if (!view.base || !view.layout) return false;
  const Destination inner{static_cast<uint8_t*>(view.base), view.layout->storageSize, view.layout};
  int64_t innerFilled = 0;
  if (!decode(inner, 0, depth + 1, innerFilled)) return false;
  if (withEvents && connector_) {
    if (FAILED(connector_(*target, events, static_cast<int32_t>(memberId)))) return false;
  }
  filled = StorageSizeOf(slot->kind);
  return true;
}

bool ValueDecoder::decodeArray(const Destination& dest, int64_t offset, uint32_t count,
                               uint32_t elementSize, uint8_t elementType, int depth,
                               int64_t& filled) {
  const std::optional<PropertyField> slot = dest.slotAt(offset);
  if (!slot) return false;
  const VARTYPE vt = elementType;
  const bool fits = (slot->kind == PropertyKind::Array && slot->elementType == vt) ||
                    (slot->kind == PropertyKind::ByteArray && vt == VT_UI1);
  if (!fits) return false;
  // Every element takes at least its tag byte: a count beyond the bytes left
  // is corrupt, and is refused before anything is allocated.
  if (count > reader_.remaining()) return false;
  OwnedSafeArray array(SafeArrayCreateVector(vt, 0, count));
  if (!array || SafeArrayGetElemsize(array.get()) != elementSize) return false;
  if (!readArrayValues(array.get(), vt, count, elementSize, depth + 1)) return false;
  *SlotAs<OwnedSafeArray>(dest, offset) = std::move(array);
  filled = StorageSizeOf(slot->kind);
  return true;
}

bool ValueDecoder::readArrayValues(SAFEARRAY* array, VARTYPE vt, uint32_t count,
                                   uint32_t elementSize, int depth) {
  auto* data = static_cast<uint8_t*>(array->pvData);
  if (vt == VT_VARIANT) {
    for (uint32_t i = 0; i < count; ++i) {
      if (!decodeVariant(*reinterpret_cast<VARIANT*>(data + i * elementSize), depth)) return false;
    }
    return true;
  }
  const std::optional<PropertyKind> kind = ElementKindOf(vt);
  if (!kind || StorageSizeOf(*kind) != elementSize) return false;
  const Destination elements{data, count * elementSize, nullptr, *kind, elementSize};
  for (uint32_t i = 0; i < count; ++i) {
    int64_t ignored = 0;
    if (!decode(elements, int64_t{i} * elementSize, depth, ignored)) return false;
  }
  return true;
}

bool ValueDecoder::decodeHosted(const Destination& dest, int64_t offset, uint8_t which, int depth,
                                int64_t& filled) {
  HostedControlState state;
  if (which != tag::HostedNoState) {
    uint32_t length = 0;
    std::span<const uint8_t> bytes;
    if (!reader_.readLeb128(length) || !reader_.readBytes(length, bytes)) return false;
    state.hasState = true;
    state.state.assign(bytes.begin(), bytes.end());
  }
  state.persistedFlag = which == tag::HostedState;
  if (!readNamedValues(state, depth + 1)) return false;
  const std::optional<PropertyField> slot = dest.slotAt(offset);
  if (!slot || slot->kind != PropertyKind::HostedState) return false;
  *SlotAs<HostedControlState>(dest, offset) = std::move(state);
  filled = StorageSizeOf(slot->kind);
  return true;
}

bool ValueDecoder::readNamedValues(HostedControlState& state, int depth) {
  uint16_t count = 0;
  if (!reader_.readU16(count)) return false;
  // An entry takes at least three bytes (name length, flag, tag).
  if (count > reader_.remaining() / 3) return false;
  state.entries.reserve(count);
  for (uint16_t i = 0; i < count; ++i) {
    uint32_t nameLength = 0;
    std::span<const uint8_t> name;
    NamedValue entry;
    if (!reader_.readLeb128(nameLength) || !reader_.readBytes(nameLength, name) ||
        !reader_.readU8(entry.flag) || !decodeVariant(entry.value, depth)) {
      return false;
    }
    entry.name.assign(name.begin(), name.end());
    state.entries.push_back(std::move(entry));
  }
  return true;
}

bool ValueDecoder::decodeVariant(VARIANT& out, int depth) {
  if (depth > kMaxValueNesting) return false;
  uint8_t t = 0;
  if (!reader_.readU8(t)) return false;
  Scalar scalar{};
  bool isScalar = false;
  if (!ReadScalar(reader_, t, scalar, isScalar)) return false;
  if (isScalar) {
    ScalarToVariant(scalar, out);
    return true;
  }
  switch (t) {
    case tag::ByteArray: {
      uint32_t length = 0;
      std::span<const uint8_t> bytes;
      if (!reader_.readU32(length) || !reader_.readBytes(length, bytes)) return false;
      SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, length);
      if (!array) return false;
      if (length) std::memcpy(array->pvData, bytes.data(), length);
      VariantClear(&out);
      out.vt = VT_ARRAY | VT_UI1;
      out.parray = array;
      return true;
    }
    case tag::ShortArray:
    case tag::Array: {
      uint16_t count = 0, size = 0;
      uint8_t type = 0;
      if (t == tag::ShortArray) {
        uint8_t c = 0, s = 0;
        if (!reader_.readU8(c) || !reader_.readU8(s)) return false;
        count = c;
        size = s;
      } else if (!reader_.readU16(count) || !reader_.readU16(size)) {
        return false;
      }
      if (!reader_.readU8(type) || count > reader_.remaining()) return false;
      OwnedSafeArray array(SafeArrayCreateVector(type, 0, count));
      if (!array || SafeArrayGetElemsize(array.get()) != size) return false;
      if (!readArrayValues(array.get(), type, count, size, depth + 1)) return false;
      VariantClear(&out);
      out.vt = static_cast<VARTYPE>(VT_ARRAY | type);
      out.parray = array.release();
      return true;
    }
    case tag::PersistedObject: {
      uint32_t length = 0;
      std::span<const uint8_t> bytes;
      if (!reader_.readLeb128(length) || !reader_.readBytes(length, bytes)) return false;
      IUnknown* object = nullptr;
      if (FAILED(LoadPersistedObject(bytes, &object))) return false;
      VariantClear(&out);
      out.vt = VT_UNKNOWN;
      out.punkVal = object;
      return true;
    }
    case tag::Invalid:
      return unknownTag(tag::kInvalidTagNumber);
    case tag::Record:
    case tag::ShortRecord:
    case tag::Skip8:
    case tag::Skip16:
    case tag::Skip32:
    case tag::EmbeddedObject:
    case tag::EmbeddedObjectWithEvents:
    case tag::HostedState:
    case tag::HostedNoState:
    case tag::HostedStateNoFlag:
      return false;  // no variant holds these
    default:
      return unknownTag(t);
  }
}

}  // namespace rt::design
