// How a hosted control is stored in a form design: the extender's place and
// states, the hosted control's class identifier text and its stored
// properties. The design compiler and the extender's design read share this
// layout ("ActiveXControlExtender" in form descriptions).
#pragma once

#include "runtime/controls/CommonDesign.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

// {8E0B1F52-3C6D-4A7E-9F21-6B5D4C3A2E10}
inline constexpr CLSID CLSID_ActiveXControlExtender{
    0x8E0B1F52, 0x3C6D, 0x4A7E, {0x9F, 0x21, 0x6B, 0x5D, 0x4C, 0x3A, 0x2E, 0x10}};

struct ActiveXControlExtenderDesign {
  CommonDesign common;
  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
  Bstr classId;
  HostedControlState hosted;
};

extern const PropertyLayout kActiveXControlExtenderLayout;

}  // namespace rt
