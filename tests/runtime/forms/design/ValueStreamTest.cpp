// The property value stream: every tag decoded into layout-described
// storage, the filled-byte counts, and the failures of hostile blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "runtime/forms/design/DesignTestClasses.h"
#include "runtime/forms/design/InternalAssertion.h"
#include "runtime/forms/design/PersistedBytes.h"
#include "runtime/forms/design/PropertyReader.h"

namespace {

using namespace designtest;
using Bytes = std::vector<uint8_t>;

HRESULT Read(const Bytes& block, void* storage, const PropertyLayout& layout, uint32_t* filled,
             rt::EventConnector connector = {}) {
  return rt::PropertyReader(block, std::move(connector)).readInto(storage, layout, filled);
}

TEST(ValueStream, WorkedExampleOfTwelveMembersFillsTheDestinationExactly) {
  ExampleProperties props;
  std::memset(props.untouched, 0xAA, sizeof props.untouched);
  props.gap[0] = props.gap[1] = 0xBB;
  Bytes block = {0xF1, 0x0C, 0xFD, 0x08, 0x03, 0x0F, 0x00, 0x00, 0x80, 0x03, 0x12,
                 0x00, 0x00, 0x80, 0xF2, 0xFD, 0x02, 0xF7, 0x01, 0xF3, 0x0A};
  for (char c : std::string("Connection"))
    block.push_back(static_cast<uint8_t>(c));
  for (int i = 0; i < 7; ++i)
    block.insert(block.end(), {0xF7, static_cast<uint8_t>(i + 1)});

  uint32_t filled = 0;
  ASSERT_EQ(Read(block, &props, kExampleLayout, &filled), S_OK);

  for (uint8_t b : props.untouched)
    EXPECT_EQ(b, 0xAA);
  EXPECT_EQ(static_cast<uint32_t>(props.backColor), 0x8000000Fu);
  EXPECT_EQ(static_cast<uint32_t>(props.foreColor), 0x80000012u);
  EXPECT_EQ(props.enabled, -1);
  EXPECT_EQ(props.gap[0], 0xBB);
  EXPECT_EQ(props.gap[1], 0xBB);
  EXPECT_EQ(props.borderStyle, 1);
  EXPECT_EQ(props.caption, u"Connection");
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(props.more[i], i + 1);
  EXPECT_EQ(filled, offsetof(ExampleProperties, more) + 7 * 4);
}

TEST(ValueStream, SkipWritesPastTheDestinationAndCountsTheSkippedBytes) {
  ExampleProperties props{};
  uint32_t filled = 0;
  ASSERT_EQ(Read({0xFD, 0x08, 0x03, 0x78, 0x56, 0x34, 0x12}, &props, kExampleLayout, &filled),
            S_OK);
  EXPECT_EQ(props.backColor, 0x12345678);
  EXPECT_EQ(filled, 8u + 4u);
}

TEST(ValueStream, WideSkipsReachFarMembers) {
  auto props = std::make_unique<WideProperties>();
  const uint32_t middle = offsetof(WideProperties, middle);
  const uint32_t last = offsetof(WideProperties, last);
  Bytes block = {0xF1, 0x02, 0xFE, static_cast<uint8_t>(middle), static_cast<uint8_t>(middle >> 8),
                 0xF7, 0x05, 0xFF};
  const uint32_t gap = last - (middle + 4);
  for (int i = 0; i < 4; ++i)
    block.push_back(static_cast<uint8_t>(gap >> (8 * i)));
  block.insert(block.end(), {0xF7, 0x06});
  uint32_t filled = 0;
  ASSERT_EQ(Read(block, props.get(), kWideLayout, &filled), S_OK);
  EXPECT_EQ(props->middle, 5);
  EXPECT_EQ(props->last, 6);
  EXPECT_EQ(filled, last + 4);
}

TEST(ValueStream, EmptyAndNullStringsDiffer) {
  SampleProperties props;
  props.caption = Bstr(u"old");
  const uint32_t at = offsetof(SampleProperties, caption);
  ASSERT_EQ(
      Read({0xFD, static_cast<uint8_t>(at), 0x08, 0, 0, 0, 0}, &props, kSampleLayout, nullptr),
      S_OK);
  ASSERT_NE(props.caption.get(), nullptr);
  EXPECT_EQ(props.caption.length(), 0u);

  ASSERT_EQ(Read({0xFD, static_cast<uint8_t>(at), 0xF4}, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_EQ(props.caption.get(), nullptr);
}

struct ScalarCase {
  const char* name;
  Bytes value;  // tag and payload
  size_t offset;
  Bytes expected;  // destination bytes at offset
};

class ScalarTags : public testing::TestWithParam<ScalarCase> {};

TEST_P(ScalarTags, StoreTheirPayloadAtTheField) {
  const ScalarCase& c = GetParam();
  SampleProperties props;
  Bytes block = {0xFD, static_cast<uint8_t>(c.offset)};
  if (c.offset == 0) block.clear();
  block.insert(block.end(), c.value.begin(), c.value.end());
  uint32_t filled = 0;
  ASSERT_EQ(Read(block, &props, kSampleLayout, &filled), S_OK);
  EXPECT_EQ(0, std::memcmp(reinterpret_cast<uint8_t*>(&props) + c.offset, c.expected.data(),
                           c.expected.size()));
  EXPECT_EQ(filled, c.offset + c.expected.size());
}

constexpr size_t kInteger = offsetof(SampleProperties, integer);
constexpr size_t kColor = offsetof(SampleProperties, color);
constexpr size_t kSingle = offsetof(SampleProperties, single);
constexpr size_t kLeft = offsetof(SampleProperties, left);
constexpr size_t kDate = offsetof(SampleProperties, date);
constexpr size_t kCurrency = offsetof(SampleProperties, currency);
constexpr size_t kHandle = offsetof(SampleProperties, handle);

INSTANTIATE_TEST_SUITE_P(
    EveryScalarTag, ScalarTags,
    testing::Values(
        ScalarCase{"Int16", {0x02, 0x34, 0x12}, kInteger, {0x34, 0x12}},
        ScalarCase{"Int16Byte", {0xF5, 0xFE}, kInteger, {0xFE, 0xFF}},
        ScalarCase{"Int16Zero", {0xF6}, kInteger, {0, 0}}, ScalarCase{"False", {0x0B}, 0, {0, 0}},
        ScalarCase{"True", {0xF2}, 0, {0xFF, 0xFF}}, ScalarCase{"Byte", {0x11, 0x7A}, 2, {0x7A}},
        ScalarCase{"Int32", {0x03, 1, 2, 3, 4}, kColor, {1, 2, 3, 4}},
        ScalarCase{"Single", {0x04, 0, 0, 0x80, 0x3F}, kSingle, {0, 0, 0x80, 0x3F}},
        ScalarCase{"Int32Byte", {0xF7, 0x80}, kColor, {0x80, 0xFF, 0xFF, 0xFF}},
        ScalarCase{"Int32Word", {0xF8, 0x00, 0x80}, kColor, {0x00, 0x80, 0xFF, 0xFF}},
        ScalarCase{"Int32Zero", {0xF9}, kColor, {0, 0, 0, 0}},
        ScalarCase{"Double", {0x05, 1, 2, 3, 4, 5, 6, 7, 8}, kLeft, {1, 2, 3, 4, 5, 6, 7, 8}},
        ScalarCase{"Date", {0x07, 8, 7, 6, 5, 4, 3, 2, 1}, kDate, {8, 7, 6, 5, 4, 3, 2, 1}},
        ScalarCase{"Int64", {0x14, 9, 9, 9, 9, 9, 9, 9, 9}, kCurrency, {9, 9, 9, 9, 9, 9, 9, 9}},
        ScalarCase{"Handle", {0xEC, 0xEF, 0xBE, 0xAD, 0xDE}, kHandle, {0xEF, 0xBE, 0xAD, 0xDE}}),
    [](const testing::TestParamInfo<ScalarCase>& info) { return std::string(info.param.name); });

TEST(ValueStream, StringTagsDecodeUtf8AndRawBytes) {
  SampleProperties props;
  const auto at = static_cast<uint8_t>(offsetof(SampleProperties, caption));
  ASSERT_EQ(Read({0xFD, at, 0xF3, 0x03, 0xC3, 0xA9, 'x'}, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_EQ(props.caption, u"\u00E9x");
  ASSERT_EQ(Read({0xFD, at, 0xE9, 0x02, 0, 0, 0, 'a', 'b'}, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_EQ(SysStringByteLen(props.caption.get()), 2u);
  EXPECT_EQ(0, std::memcmp(props.caption.get(), "ab", 2));
  Bytes longText = {0xFD, at, 0x08, 0x58, 0x02, 0, 0};  // 600 bytes, past the stack buffer
  longText.insert(longText.end(), 600, 'z');
  ASSERT_EQ(Read(longText, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_EQ(props.caption.view(), std::u16string(600, u'z'));
}

TEST(ValueStream, ByteArrayAndTypedArrays) {
  SampleProperties props;
  const auto bytes = static_cast<uint8_t>(offsetof(SampleProperties, bytes));
  const auto numbers = static_cast<uint8_t>(offsetof(SampleProperties, numbers));
  const auto texts = static_cast<uint8_t>(offsetof(SampleProperties, texts));
  const auto variants = static_cast<uint8_t>(offsetof(SampleProperties, variants));
  const Bytes block = {0xF1,
                       4,  //
                       0xFD,
                       bytes,
                       0xF0,
                       3,
                       0,
                       0,
                       0,
                       7,
                       8,
                       9,  //
                       0xFB,
                       3,
                       4,
                       VT_I4,
                       0xF7,
                       1,
                       0xF8,
                       0x00,
                       0x01,
                       0xF9,  //
                       0xFC,
                       2,
                       0,
                       8,
                       0,
                       VT_BSTR,
                       0xF3,
                       1,
                       'a',
                       0xF4,  //
                       0xFD,
                       static_cast<uint8_t>(variants - texts - 8),
                       0xFB,
                       2,
                       sizeof(VARIANT),
                       VT_VARIANT,
                       0xF7,
                       5,
                       0xF3,
                       1,
                       'q'};
  (void)numbers;
  ASSERT_EQ(Read(block, &props, kSampleLayout, nullptr), S_OK);
  ASSERT_TRUE(props.bytes);
  EXPECT_EQ(props.bytes->rgsabound[0].cElements, 3u);
  EXPECT_EQ(static_cast<uint8_t*>(props.bytes->pvData)[2], 9);
  ASSERT_TRUE(props.numbers);
  const auto* n = static_cast<int32_t*>(props.numbers->pvData);
  EXPECT_EQ(n[0], 1);
  EXPECT_EQ(n[1], 256);
  EXPECT_EQ(n[2], 0);
  ASSERT_TRUE(props.texts);
  const auto* t = static_cast<BSTR*>(props.texts->pvData);
  EXPECT_EQ(std::u16string_view(t[0]), u"a");
  EXPECT_EQ(t[1], nullptr);
  EXPECT_TRUE(props.texts->fFeatures & FADF_BSTR);
  ASSERT_TRUE(props.variants);
  const auto* v = static_cast<VARIANT*>(props.variants->pvData);
  EXPECT_EQ(v[0].vt, VT_I4);
  EXPECT_EQ(v[0].lVal, 5);
  EXPECT_EQ(v[1].vt, VT_BSTR);
}

TEST(ValueStream, EmbeddedObjectIsCreatedThroughTheRegistryThenReused) {
  rt::ScopedClassTable table(kTestClassTable);
  SampleProperties props;
  const auto at = static_cast<uint8_t>(offsetof(SampleProperties, font));
  Bytes block = {0xFD, at, 0x09};
  const auto* clsid = reinterpret_cast<const uint8_t*>(&kFontClsid);
  block.insert(block.end(), clsid, clsid + 16);
  block.insert(block.end(), 16, 0);
  block.insert(block.end(), {0xF1, 0x02, 0xF3, 0x05, 'A', 'r', 'i', 'a', 'l', 0xFD, 0x08, 0xF2});
  ASSERT_EQ(Read(block, &props, kSampleLayout, nullptr), S_OK);
  ASSERT_TRUE(props.font);
  auto* font = static_cast<SampleFont*>(static_cast<rt::IDesignStorage*>(props.font.Get()));
  EXPECT_EQ(font->properties.name, u"Arial");
  EXPECT_EQ(font->properties.bold, -1);

  IUnknown* before = props.font.Get();
  ASSERT_EQ(Read(block, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_EQ(props.font.Get(), before);

  ASSERT_EQ(Read({0xFD, at, 0x0D}, &props, kSampleLayout, nullptr), S_OK);
  EXPECT_FALSE(props.font);
}

TEST(ValueStream, EmbeddedObjectWithEventsIsConnectedForItsMember) {
  rt::ScopedClassTable table(kTestClassTable);
  SampleProperties props;
  Bytes block = {0xFD, static_cast<uint8_t>(offsetof(SampleProperties, font)), 0xFA};
  const auto* clsid = reinterpret_cast<const uint8_t*>(&kFontClsid);
  const auto* events = reinterpret_cast<const uint8_t*>(&kSampleEvents);
  block.insert(block.end(), clsid, clsid + 16);
  block.insert(block.end(), 16, 0);
  block.insert(block.end(), events, events + 16);
  block.insert(block.end(), {0xAC, 0x02});  // member 300 as LEB128
  block.insert(block.end(), {0xF1, 0x00});
  int32_t member = -1;
  IID seen{};
  const auto connector = [&](IUnknown*, REFIID iid, int32_t id) {
    member = id;
    seen = iid;
    return S_OK;
  };
  ASSERT_EQ(Read(block, &props, kSampleLayout, nullptr, connector), S_OK);
  EXPECT_EQ(member, 300);
  EXPECT_EQ(seen, kSampleEvents);
}

TEST(ValueStream, PersistedBytesBecomeAnObject) {
  SampleProperties props;
  ASSERT_EQ(
      Read({0xFD, static_cast<uint8_t>(offsetof(SampleProperties, font)), 0xEA, 0x03, 1, 2, 3},
           &props, kSampleLayout, nullptr),
      S_OK);
  const ComPtr<rt::IPersistedBytes> bytes = QueryInterfaceOf<rt::IPersistedBytes>(props.font.Get());
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bytes->bytes().size(), 3u);
}

TEST(ValueStream, HostedControlStateCarriesItsNamedValues) {
  const auto at = static_cast<uint8_t>(offsetof(SampleProperties, hosted));
  struct Case {
    uint8_t tag;
    bool hasState, flag;
  };
  for (const Case c : {Case{0xED, true, true}, Case{0xEE, false, false}, Case{0xEF, true, false}}) {
    SampleProperties props;
    Bytes block = {0xFD, at, c.tag};
    if (c.hasState) block.insert(block.end(), {0x02, 0xAB, 0xCD});
    block.insert(block.end(), {0x02, 0x00, 0x04, 'P', 'o', 'r', 't', 0x01, 0xF8, 0x39, 0x30, 0x02,
                               'O', 'n', 0x00, 0xF2});
    ASSERT_EQ(Read(block, &props, kSampleLayout, nullptr), S_OK) << int(c.tag);
    EXPECT_EQ(props.hosted.hasState, c.hasState);
    EXPECT_EQ(props.hosted.persistedFlag, c.flag);
    EXPECT_EQ(props.hosted.state.size(), c.hasState ? 2u : 0u);
    ASSERT_EQ(props.hosted.entries.size(), 2u);
    EXPECT_EQ(props.hosted.entries[0].name, "Port");
    EXPECT_EQ(props.hosted.entries[0].flag, 1);
    EXPECT_EQ(props.hosted.entries[0].value.lVal, 12345);
    EXPECT_EQ(props.hosted.entries[1].value.vt, VT_BOOL);
  }
}

TEST(ValueStream, NothingFillsNoBytes) {
  SampleProperties props;
  uint32_t filled = 99;
  ASSERT_EQ(Read({0xF1, 0x02, 0x18, 0xF2}, &props, kSampleLayout, &filled), S_OK);
  EXPECT_EQ(props.enabled, -1);
  EXPECT_EQ(filled, 2u);
}

void CountAssertion(const char*);
int g_assertions = 0;
void CountAssertion(const char*) {
  ++g_assertions;
}

TEST(ValueStream, UnknownTagsShowTheirNumberAndCallTheAssertionHook) {
  platform::ScopedMessageBoxPolicy boxes;
  g_assertions = 0;
  const rt::InternalAssertionHook previous = rt::SetInternalAssertionHook(&CountAssertion);
  SampleProperties props;
  EXPECT_EQ(Read({0x42}, &props, kSampleLayout, nullptr), E_FAIL);
  EXPECT_EQ(Read({0xE8}, &props, kSampleLayout, nullptr), E_FAIL);
  rt::SetInternalAssertionHook(previous);
  ASSERT_EQ(boxes.boxes().size(), 2u);
  EXPECT_EQ(boxes.boxes()[0].text, u"66");
  EXPECT_EQ(boxes.boxes()[1].text, u"123");
  EXPECT_EQ(g_assertions, 2);
}

// Hostile blocks fail cleanly: nothing is read past the block, nothing is
// allocated from an unchecked count, no string or object is overwritten by
// a value of another kind.
TEST(ValueStream, HostileBlocksFailWithoutTouchingOwnedFields) {
  platform::ScopedMessageBoxPolicy boxes;
  const auto caption = static_cast<uint8_t>(offsetof(SampleProperties, caption));
  const auto numbers = static_cast<uint8_t>(offsetof(SampleProperties, numbers));
  const auto hosted = static_cast<uint8_t>(offsetof(SampleProperties, hosted));
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"short int32", {0x03, 1, 2}},
      {"short string", {0xFD, caption, 0x08, 10, 0, 0, 0, 'a'}},
      {"string length 2^31", {0xFD, caption, 0x08, 0, 0, 0, 0x80}},
      {"number over a string", {0xFD, caption, 0x03, 1, 2, 3, 4}},
      {"string inside a number", {0xFD, 2, 0xF3, 1, 'a'}},
      {"misaligned write", {0xFD, 1, 0xF9}},
      {"negative skip", {0xFF, 0, 0, 0, 0x80, 0xF9}},
      {"skip past the storage", {0xFF, 0, 0, 1, 0, 0xF9}},
      {"record count beyond the data", {0x24, 0xFF, 0xFF, 0xF2}},
      {"array of 65535 elements", {0xFD, numbers, 0xFC, 0xFF, 0xFF, 4, 0, VT_I4, 0xF9}},
      {"array element size mismatch", {0xFD, numbers, 0xFB, 1, 2, VT_I4, 0xF9}},
      {"array of another type", {0xFD, numbers, 0xFB, 1, 2, VT_I2, 0xF6}},
      {"named values beyond the data", {0xFD, hosted, 0xEE, 0xFF, 0xFF, 0x01}},
      {"overlong LEB128", {0xFD, hosted, 0xED, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
      {"record as a named value", {0xFD, hosted, 0xEE, 0x01, 0x00, 0x01, 'a', 0x00, 0xF1, 0x00}},
      {"embedded object without a registry",
       {0xFD, static_cast<uint8_t>(offsetof(SampleProperties, font)), 0x09}},
  };
  for (const auto& [name, block] : cases) {
    SampleProperties props;
    props.caption = Bstr(u"keep");
    EXPECT_EQ(Read(block, &props, kSampleLayout, nullptr), E_FAIL) << name;
    EXPECT_EQ(props.caption, u"keep") << name;
  }
}

TEST(ValueStream, NestingIsBounded) {
  Bytes block;
  for (int i = 0; i < 100; ++i)
    block.insert(block.end(), {0xF1, 0x01});
  block.push_back(0xF2);
  SampleProperties props;
  EXPECT_EQ(Read(block, &props, kSampleLayout, nullptr), E_FAIL);
}

TEST(ValueStream, ReaderWithoutBlockLeavesDefaults) {
  SampleProperties props;
  props.color = 7;
  uint32_t filled = 5;
  EXPECT_EQ(rt::PropertyReader().readInto(&props, kSampleLayout, &filled), S_OK);
  EXPECT_EQ(props.color, 7);
  EXPECT_EQ(filled, 0u);
}

}  // namespace
