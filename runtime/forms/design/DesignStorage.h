// How the value stream reaches the property storage of an object it embeds.
//
// An embedded object (a font, a picture, a nested control) answers
// IDesignStorage; the reader decodes the embedded object's value into the
// storage it reports, checked against its layout.
#pragma once

#include "platform/com.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

// {6D1C2F40-5A7E-4B0F-9C31-2E8B7A4D1F01}
inline constexpr IID IID_IDesignStorage{
    0x6D1C2F40, 0x5A7E, 0x4B0F, {0x9C, 0x31, 0x2E, 0x8B, 0x7A, 0x4D, 0x1F, 0x01}};

struct DesignStorageView {
  void* base = nullptr;
  const PropertyLayout* layout = nullptr;
};

struct IDesignStorage : IUnknown {
  // The object's property storage and its layout; base stays valid while the
  // object lives.
  virtual DesignStorageView designStorage() = 0;

 protected:
  ~IDesignStorage() = default;
};

}  // namespace rt

template <>
struct InterfaceId<rt::IDesignStorage> {
  static constexpr const IID& value = rt::IID_IDesignStorage;
};
