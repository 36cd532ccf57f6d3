// Decodes the property value stream into typed destinations.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/forms/design/DesignReader.h"
#include "runtime/forms/design/PropertyLayout.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt::design {

// Where values land: a layout-described storage struct, or the elements of
// an array. A write is allowed only where a slot of a matching kind starts.
struct Destination {
  uint8_t* base = nullptr;
  uint32_t size = 0;
  const PropertyLayout* layout = nullptr;         // storage
  PropertyKind elementKind = PropertyKind::Byte;  // arrays (layout null)
  uint32_t elementSize = 0;
  bool variantElements = false;

  // The field starting at offset, if any.
  std::optional<PropertyField> slotAt(int64_t offset) const;
};

class ValueDecoder {
 public:
  ValueDecoder(DesignReader& reader, const EventConnector& connector)
      : reader_(reader), connector_(connector) {}

  // Decodes one value at offset; filled receives the destination bytes it
  // filled. False on any failure (message boxes already shown).
  bool decode(const Destination& dest, int64_t offset, int depth, int64_t& filled);
  // Decodes one value into a variant (named-value lists, variant arrays).
  bool decodeVariant(VARIANT& out, int depth);

 private:
  bool decodeRecord(const Destination& dest, int64_t offset, uint32_t count, int depth,
                    int64_t& filled);
  bool decodeSkip(const Destination& dest, int64_t offset, int64_t skip, int depth,
                  int64_t& filled);
  bool decodeEmbedded(const Destination& dest, int64_t offset, bool withEvents, int depth,
                      int64_t& filled);
  bool decodeArray(const Destination& dest, int64_t offset, uint32_t count, uint32_t elementSize,
                   uint8_t elementType, int depth, int64_t& filled);
  bool decodeHosted(const Destination& dest, int64_t offset, uint8_t which, int depth,
                    int64_t& filled);
  bool readNamedValues(HostedControlState& state, int depth);
  bool readArrayValues(SAFEARRAY* array, VARTYPE vt, uint32_t count, uint32_t elementSize,
                       int depth);
  bool unknownTag(int number);

  DesignReader& reader_;
  const EventConnector& connector_;
};

}  // namespace rt::design
