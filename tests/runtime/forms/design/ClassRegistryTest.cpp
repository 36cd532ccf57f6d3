// Creating objects by class identifier: the table search and the failure
// boxes of design reading and of plain instance creation.
#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/user.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignTestClasses.h"

namespace {

using namespace designtest;

HRESULT FailingCreator(IUnknown** out) {
  *out = nullptr;
  return E_OUTOFMEMORY;
}
HRESULT NullCreator(IUnknown** out) {
  *out = nullptr;
  return S_OK;
}

constexpr CLSID kFailing{
    0xAABBCCDD, 0x0102, 0x0304, {0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C}};
constexpr CLSID kNull{0xAABBCCDD, 0x0102, 0x0304, {0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0D}};
constexpr CLSID kMissing{
    0x0000ABCD, 0xEF01, 0x2345, {0x67, 0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45}};

const rt::ClassRegistryEntry kTable[] = {
    {&FailingCreator, kFailing, {}},
    {&NullCreator, kNull, {}},
    {&SampleFont::Create, kFontClsid, {}},
    {nullptr, {}, {}},
};

TEST(ClassRegistry, CreatesByIdentifierInTableOrder) {
  const rt::ClassRegistry registry(kTable);
  ComPtr<IUnknown> object;
  ASSERT_EQ(registry.createForDesign(kFontClsid, &object), S_OK);
  EXPECT_TRUE(QueryInterfaceOf<rt::IDesignStorage>(object.Get()));
  ASSERT_EQ(registry.createInstance(kFontClsid, &object), S_OK);
  EXPECT_TRUE(object);
}

TEST(ClassRegistry, DesignReadingNamesTheMissingClass) {
  platform::ScopedMessageBoxPolicy boxes;
  const rt::ClassRegistry registry(kTable);
  for (const CLSID& clsid : {kMissing, kNull}) {
    ComPtr<IUnknown> object;
    EXPECT_EQ(registry.createForDesign(clsid, &object), E_FAIL);
    EXPECT_FALSE(object);
  }
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text,
            u"Kestrelon Internal error 9508: missing class deserializer for CLSID "
            u"{0000ABCD-EF01-2345-6789-ABCDEF012345}");
  EXPECT_EQ(boxes.boxes()[0].caption, u"");
  EXPECT_EQ(boxes.boxes()[0].style, MB_OK);
}

TEST(ClassRegistry, DesignReadingPassesOnAFailingCreatorsStatus) {
  platform::ScopedMessageBoxPolicy boxes;
  ComPtr<IUnknown> object;
  EXPECT_EQ(rt::ClassRegistry(kTable).createForDesign(kFailing, &object), E_OUTOFMEMORY);
  EXPECT_TRUE(boxes.boxes().empty());
}

TEST(ClassRegistry, InstanceCreationFailuresShowTheirBoxAndWaitOneSecond) {
  struct Case {
    CLSID clsid;
    const char16_t* text;
  };
  for (const Case& c : {Case{kFailing, u"Error 9805: Failed to create class instance"},
                        Case{kNull, u"Error 9806: Failed to create class instance"},
                        Case{kMissing, u"Error 9806: Failed to create class instance"}}) {
    platform::ScopedMessageBoxPolicy boxes;
    platform::ScopedVirtualClock clock(1000);
    ComPtr<IUnknown> object;
    EXPECT_EQ(rt::ClassRegistry(kTable).createInstance(c.clsid, &object), E_FAIL);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, c.text);
    EXPECT_EQ(boxes.boxes()[0].caption, u"Kestrelon Internal Error");
    EXPECT_EQ(clock.clock().nowMs(), 2000u);
  }
}

TEST(ClassRegistry, TheThreadsTableIsReplacedForAScope) {
  EXPECT_EQ(rt::CurrentClassRegistry().find(kFontClsid), nullptr);
  {
    rt::ScopedClassTable scoped(kTable);
    EXPECT_NE(rt::CurrentClassRegistry().find(kFontClsid), nullptr);
  }
  EXPECT_EQ(rt::CurrentClassRegistry().find(kFontClsid), nullptr);
}

}  // namespace
