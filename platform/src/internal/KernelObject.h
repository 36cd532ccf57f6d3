// The base of every object a kernel handle refers to.
#pragma once

namespace platform::internal {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

}  // namespace platform::internal
