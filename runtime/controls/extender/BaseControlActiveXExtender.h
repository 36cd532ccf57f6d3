// The extender members every hosted control gets from its container: its
// place and size in the container's scale units, visibility, enabled state,
// name, index within a control array and tag.
#pragma once

#include <string>

#include "platform/types.h"

namespace rt {

struct BaseControlActiveXExtender {
  std::u16string name;
  SHORT index = -1;  // -1: not an element of a control array
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;
  bool visible = true;
  bool enabled = true;
  std::u16string tag;
};

}  // namespace rt
