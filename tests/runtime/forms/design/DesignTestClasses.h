// Classes with design property layouts for the design tests: one with a
// field of every kind, the frame-like record of the worked example, a class
// whose storage is large enough for the widest skip, and an embeddable font.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/com/ComObject.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignStorage.h"
#include "runtime/forms/design/PropertyLayout.h"

namespace designtest {

using rt::PropertyField;
using rt::PropertyKind;
using rt::PropertyLayout;

inline constexpr CLSID kSampleClsid{
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x01}};
inline constexpr CLSID kExampleClsid{
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x02}};
inline constexpr CLSID kWideClsid{
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x03}};
inline constexpr CLSID kFontClsid{
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x04}};
inline constexpr IID kSampleEvents{
    0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0xE1}};

// The sample storage holds library types (unique_ptr, vector) that are not
// standard-layout, so clang warns about offsetof over it; GCC and clang lay
// its members out as declared, which is all the layout needs here.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Winvalid-offsetof"
#endif
struct SampleProperties {
  VARIANT_BOOL enabled = 0;
  uint8_t byteValue = 0;
  int16_t integer = 0;
  int32_t color = 0;
  float single = 0;
  double left = 0;
  DATE date = 0;
  int64_t currency = 0;
  Bstr caption;
  Bstr name;
  ComPtr<IUnknown> font;
  uint32_t handle = 0;
  rt::OwnedSafeArray bytes;
  rt::OwnedSafeArray numbers;
  rt::OwnedSafeArray texts;
  rt::OwnedSafeArray variants;
  rt::HostedControlState hosted;
};

inline constexpr PropertyField kSampleFields[] = {
    {"Enabled", PropertyKind::Boolean, offsetof(SampleProperties, enabled)},
    {"ByteValue", PropertyKind::Byte, offsetof(SampleProperties, byteValue)},
    {"Integer", PropertyKind::Integer, offsetof(SampleProperties, integer)},
    {"Color", PropertyKind::Long, offsetof(SampleProperties, color)},
    {"Single", PropertyKind::Single, offsetof(SampleProperties, single)},
    {"Left", PropertyKind::Double, offsetof(SampleProperties, left)},
    {"Date", PropertyKind::Date, offsetof(SampleProperties, date)},
    {"Currency", PropertyKind::Currency, offsetof(SampleProperties, currency)},
    {"Caption", PropertyKind::String, offsetof(SampleProperties, caption)},
    {"Name", PropertyKind::String, offsetof(SampleProperties, name)},
    {"Font", PropertyKind::Object, offsetof(SampleProperties, font)},
    {"Handle", PropertyKind::Handle, offsetof(SampleProperties, handle)},
    {"Bytes", PropertyKind::ByteArray, offsetof(SampleProperties, bytes)},
    {"Numbers", PropertyKind::Array, offsetof(SampleProperties, numbers), VT_I4},
    {"Texts", PropertyKind::Array, offsetof(SampleProperties, texts), VT_BSTR},
    {"Variants", PropertyKind::Array, offsetof(SampleProperties, variants), VT_VARIANT},
    {"Hosted", PropertyKind::HostedState, offsetof(SampleProperties, hosted)},
};
inline constexpr PropertyLayout kSampleLayout{"Sample", kSampleClsid, sizeof(SampleProperties),
                                              kSampleFields, kSampleEvents};

// The record of the worked example: two untouched 32-bit members, two
// colours, a boolean, a 32-bit value, a caption and seven more numbers.
struct ExampleProperties {
  uint8_t untouched[8];
  int32_t backColor;
  int32_t foreColor;
  VARIANT_BOOL enabled;
  uint8_t gap[2];
  int32_t borderStyle;
  Bstr caption;
  int32_t more[7];
};

inline constexpr PropertyField kExampleFields[] = {
    {"BackColor", PropertyKind::Long, offsetof(ExampleProperties, backColor)},
    {"ForeColor", PropertyKind::Long, offsetof(ExampleProperties, foreColor)},
    {"Enabled", PropertyKind::Boolean, offsetof(ExampleProperties, enabled)},
    {"BorderStyle", PropertyKind::Long, offsetof(ExampleProperties, borderStyle)},
    {"Caption", PropertyKind::String, offsetof(ExampleProperties, caption)},
    {"More0", PropertyKind::Long, offsetof(ExampleProperties, more) + 0},
    {"More1", PropertyKind::Long, offsetof(ExampleProperties, more) + 4},
    {"More2", PropertyKind::Long, offsetof(ExampleProperties, more) + 8},
    {"More3", PropertyKind::Long, offsetof(ExampleProperties, more) + 12},
    {"More4", PropertyKind::Long, offsetof(ExampleProperties, more) + 16},
    {"More5", PropertyKind::Long, offsetof(ExampleProperties, more) + 20},
    {"More6", PropertyKind::Long, offsetof(ExampleProperties, more) + 24},
};
inline constexpr PropertyLayout kExampleLayout{"Example", kExampleClsid, sizeof(ExampleProperties),
                                               kExampleFields};

// Fields far apart, for the 16- and 32-bit skips.
struct WideProperties {
  int32_t first = 0;
  uint8_t padding1[1000];
  int32_t middle = 0;
  uint8_t padding2[40000];
  int32_t last = 0;
};
inline constexpr PropertyField kWideFields[] = {
    {"First", PropertyKind::Long, offsetof(WideProperties, first)},
    {"Middle", PropertyKind::Long, offsetof(WideProperties, middle)},
    {"Last", PropertyKind::Long, offsetof(WideProperties, last)},
};
inline constexpr PropertyLayout kWideLayout{"Wide", kWideClsid, sizeof(WideProperties),
                                            kWideFields};

struct FontProperties {
  Bstr name;
  double size = 0;
  VARIANT_BOOL bold = 0;
};
inline constexpr PropertyField kFontFields[] = {
    {"Name", PropertyKind::String, offsetof(FontProperties, name)},
    {"Size", PropertyKind::Double, offsetof(FontProperties, size)},
    {"Bold", PropertyKind::Boolean, offsetof(FontProperties, bold)},
};
inline constexpr PropertyLayout kFontLayout{"SampleFont", kFontClsid, sizeof(FontProperties),
                                            kFontFields, kSampleEvents};

// An embeddable object with the font layout.
class SampleFont final : public rt::ComObject<SampleFont, rt::IDesignStorage> {
 public:
  rt::DesignStorageView designStorage() override { return {&properties, &kFontLayout}; }
  FontProperties properties;

  static HRESULT Create(IUnknown** out) {
    *out = rt::MakeComObject<SampleFont>().Detach()->unknown();
    return S_OK;
  }
};

inline const rt::ClassRegistryEntry kTestClassTable[] = {
    {&SampleFont::Create, kFontClsid, {}},
    {nullptr, {}, {}},
};

// Registers the test layouts for the lifetime of the object.
class ScopedTestLayouts {
 public:
  ScopedTestLayouts() {
    for (const PropertyLayout* layout : kAll)
      rt::RegisterPropertyLayout(*layout);
  }
  ~ScopedTestLayouts() {
    for (const PropertyLayout* layout : kAll)
      rt::UnregisterPropertyLayout(layout->clsid);
  }
  ScopedTestLayouts(const ScopedTestLayouts&) = delete;
  ScopedTestLayouts& operator=(const ScopedTestLayouts&) = delete;

 private:
  static constexpr const PropertyLayout* kAll[] = {&kSampleLayout, &kExampleLayout, &kWideLayout,
                                                   &kFontLayout};
};

}  // namespace designtest
