// The object behind an HRGN.
#pragma once

#include "internal/GdiObject.h"
#include "internal/Region.h"

namespace platform::internal {

class RegionObject final : public GdiObject {
 public:
  explicit RegionObject(Region region) : region(std::move(region)) {}
  Kind kind() const override { return Kind::Region; }

  Region region;
};

}  // namespace platform::internal
