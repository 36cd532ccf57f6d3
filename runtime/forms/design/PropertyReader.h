// Reads one object's property block of a form design.
//
// The design reader creates a PropertyReader over each object's block and
// hands it to the object; when the object loads itself (its design-read
// hook) it decodes the block into its property storage:
//
//   HRESULT TextBox::readDesign(const PropertyReader& reader) {
//     return reader.readInto(&properties_, kTextBoxLayout);
//   }
//
// The block is one value of the property value stream, normally a record
// whose members land one after another in the storage (each value reports
// the destination bytes it filled; skip tags leave members at their
// defaults). Every write is checked against the layout: a value must start
// at a field of a matching kind, so a corrupt block can never overwrite a
// string or object with plain bytes. A failing read shows its message box
// where the format says so and returns E_FAIL; fields decoded before the
// failure keep their new values.
//
// Reentrancy: decoding an embedded object creates it through the class
// registry and may connect its events (EventConnector below); nothing else
// leaves the reader.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/com.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

// Connects an embedded object's events (tag 0xFA) to the form's sink for a
// member id; set by the form-design loader, absent elsewhere (then the
// object is embedded without events).
using EventConnector = std::function<HRESULT(IUnknown* object, REFIID events, int32_t memberId)>;

// Turns persisted bytes (tag 0xEA, such as a picture) into an object. The
// default keeps the bytes in an object answering IPersistedBytes.
using PersistedObjectLoader =
    std::function<HRESULT(std::span<const uint8_t> bytes, IUnknown** out)>;
void SetPersistedObjectLoader(PersistedObjectLoader loader);

// Bounds of the value stream, against hostile blobs.
inline constexpr int kMaxValueNesting = 32;

class PropertyReader {
 public:
  // A reader without a block: readInto leaves the storage at its defaults.
  PropertyReader() = default;
  explicit PropertyReader(std::span<const uint8_t> block, EventConnector connector = {})
      : block_(block), connector_(std::move(connector)), present_(true) {}

  bool hasBlock() const { return present_; }
  std::span<const uint8_t> block() const { return block_; }

  // Decodes the block into storage, a struct described by layout. filled, if
  // given, receives the destination bytes the block's value filled.
  HRESULT readInto(void* storage, const PropertyLayout& layout, uint32_t* filled = nullptr) const;

 private:
  std::span<const uint8_t> block_;
  EventConnector connector_;
  bool present_ = false;
};

}  // namespace rt
