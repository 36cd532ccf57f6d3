#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"

#include "runtime/controls/extender/ActiveXControlExtender.h"

namespace rt {

namespace {

constexpr PropertyField kFields[] = {
    RT_COMMON_DESIGN_FIELDS(ActiveXControlExtenderDesign),
    {"ClassId", PropertyKind::String, offsetof(ActiveXControlExtenderDesign, classId)},
    {"Hosted", PropertyKind::HostedState, offsetof(ActiveXControlExtenderDesign, hosted)},
};

}  // namespace

const PropertyLayout kActiveXControlExtenderLayout{
    "ActiveXControlExtender", CLSID_ActiveXControlExtender, sizeof(ActiveXControlExtenderDesign),
    kFields, DIID_ActiveXControlExtenderEvents};

}  // namespace rt
