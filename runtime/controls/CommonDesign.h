// The design properties every placed control has: where it sits (twips in
// its container's scale), whether it is visible and enabled, its tab order
// and its tooltip text; then its design name and its index in a control
// array (-1: none), which the design loader reads for the engine's record.
// Each control's design record starts with them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/oleauto.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace rt {

struct ControlRecord;
struct WindowRecord;
class BaseControlRect;

struct CommonDesign {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  VARIANT_BOOL visible = VARIANT_TRUE;
  VARIANT_BOOL enabled = VARIANT_TRUE;
  VARIANT_BOOL tabStop = VARIANT_TRUE;
  int32_t tabIndex = 0;
  Bstr toolTipText;
  Bstr name;
  int16_t index = -1;
};

// The layout fields of CommonDesign inside a design record (its member
// `common`), for the record's PropertyField table.
#define RT_COMMON_DESIGN_FIELDS(Record)                                       \
  {"Left", ::rt::PropertyKind::Double,                                        \
   offsetof(Record, common) + offsetof(::rt::CommonDesign, left)},            \
      {"Top", ::rt::PropertyKind::Double,                                     \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, top)},         \
      {"Width", ::rt::PropertyKind::Double,                                   \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, width)},       \
      {"Height", ::rt::PropertyKind::Double,                                  \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, height)},      \
      {"Visible", ::rt::PropertyKind::Boolean,                                \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, visible)},     \
      {"Enabled", ::rt::PropertyKind::Boolean,                                \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, enabled)},     \
      {"TabStop", ::rt::PropertyKind::Boolean,                                \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, tabStop)},     \
      {"TabIndex", ::rt::PropertyKind::Long,                                  \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, tabIndex)},    \
      {"ToolTipText", ::rt::PropertyKind::String,                             \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, toolTipText)}, \
      {"Name", ::rt::PropertyKind::String,                                    \
       offsetof(Record, common) + offsetof(::rt::CommonDesign, name)},        \
  {                                                                           \
    "Index", ::rt::PropertyKind::Integer,                                     \
        offsetof(Record, common) + offsetof(::rt::CommonDesign, index)        \
  }

// Copies the placement into the engine record and the states into the window
// part (before the window exists: they decide how it is created).
void ApplyCommonDesign(const CommonDesign& design, ControlRecord* record, BaseControlRect* window);

// Gives the window record the click and mouse events every control shares.
void UseSharedMouseEvents(WindowRecord& window);

}  // namespace rt
