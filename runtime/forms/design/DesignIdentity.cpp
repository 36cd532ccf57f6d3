#include "runtime/forms/design/DesignIdentity.h"

#include <memory>
#include <new>

#include "runtime/forms/design/PropertyLayout.h"
#include "runtime/forms/design/PropertyReader.h"

namespace rt {
namespace {

// Storage laid out by a layout, with each field's C++ type constructed at
// its offset (and destroyed again), so the value stream can fill it.
class ScratchStorage {
 public:
  explicit ScratchStorage(const PropertyLayout& layout)
      : layout_(layout),
        bytes_(new (std::align_val_t{alignof(std::max_align_t)}) uint8_t[layout.storageSize]()) {
    for (const PropertyField& field : layout_.fields)
      construct(field);
  }
  ~ScratchStorage() {
    for (const PropertyField& field : layout_.fields)
      destroy(field);
    ::operator delete[](bytes_, std::align_val_t{alignof(std::max_align_t)});
  }
  ScratchStorage(const ScratchStorage&) = delete;
  ScratchStorage& operator=(const ScratchStorage&) = delete;

  void* data() { return bytes_; }
  template <typename T>
  T& at(const PropertyField& field) {
    return *std::launder(reinterpret_cast<T*>(bytes_ + field.offset));
  }

 private:
  void construct(const PropertyField& field) {
    void* where = bytes_ + field.offset;
    switch (field.kind) {
      case PropertyKind::String:
        new (where) Bstr();
        return;
      case PropertyKind::Object:
        new (where) ComPtr<IUnknown>();
        return;
      case PropertyKind::ByteArray:
      case PropertyKind::Array:
        new (where) OwnedSafeArray();
        return;
      case PropertyKind::HostedState:
        new (where) HostedControlState();
        return;
      case PropertyKind::Boolean:
      case PropertyKind::Byte:
      case PropertyKind::Integer:
      case PropertyKind::Long:
      case PropertyKind::Single:
      case PropertyKind::Double:
      case PropertyKind::Date:
      case PropertyKind::Currency:
      case PropertyKind::Handle:
        return;  // plain bytes, zeroed
    }
  }

  void destroy(const PropertyField& field) {
    switch (field.kind) {
      case PropertyKind::String:
        at<Bstr>(field).~Bstr();
        return;
      case PropertyKind::Object:
        at<ComPtr<IUnknown>>(field).~ComPtr();
        return;
      case PropertyKind::ByteArray:
      case PropertyKind::Array:
        at<OwnedSafeArray>(field).~OwnedSafeArray();
        return;
      case PropertyKind::HostedState:
        at<HostedControlState>(field).~HostedControlState();
        return;
      case PropertyKind::Boolean:
      case PropertyKind::Byte:
      case PropertyKind::Integer:
      case PropertyKind::Long:
      case PropertyKind::Single:
      case PropertyKind::Double:
      case PropertyKind::Date:
      case PropertyKind::Currency:
      case PropertyKind::Handle:
        return;
    }
  }

  const PropertyLayout& layout_;
  uint8_t* bytes_;
};

const PropertyField* FieldOfKind(const PropertyLayout& layout, std::string_view name,
                                 PropertyKind kind) {
  const PropertyField* field = layout.find(name);
  return field && field->kind == kind ? field : nullptr;
}

}  // namespace

DesignIdentity ReadDesignIdentity(const CLSID& clsid, std::span<const uint8_t> block) {
  DesignIdentity identity;
  const PropertyLayout* layout = FindPropertyLayout(clsid);
  if (!layout || block.empty()) return identity;
  const PropertyField* name = FieldOfKind(*layout, "Name", PropertyKind::String);
  const PropertyField* index = FieldOfKind(*layout, "Index", PropertyKind::Integer);
  if (!name && !index) return identity;

  ScratchStorage storage(*layout);
  // Index starts at -1 (no array) as every class's record does.
  if (index) storage.at<int16_t>(*index) = -1;
  if (FAILED(PropertyReader(block).readInto(storage.data(), *layout))) return identity;
  if (name) identity.name = std::u16string(storage.at<Bstr>(*name).view());
  if (index) identity.index = storage.at<int16_t>(*index);
  return identity;
}

}  // namespace rt
