#include "runtime/forms/members/SymbolTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rt {
namespace {

struct KnownKey {
  std::u16string name;
  uint16_t hash;
  uint32_t key;
};

// Worked by hand from the hash rule: h = (h >> 11) ^ (c' + i) ^ (h << 5).
const KnownKey kKnownKeys[] = {
    {u"", 0x0000, 0x00000000},     {u"a", 0x0061, 0x00612001},
    {u"A", 0x0061, 0x00612001},    {u"Show", 0x2A62, 0x0A62A004},
    {u"Left", 0x9540, 0x15400004}, {u"Caption", 0x39F6, 0x19F6C007},
    {u"Font", 0xCE45, 0x0E454004}, {u"AutoShowChildren", 0x8142, 0x01408010},
};

TEST(SymbolKeyTest, KnownNamesGiveTheirHashAndKey) {
  for (const KnownKey& known : kKnownKeys) {
    SCOPED_TRACE(std::string(known.name.begin(), known.name.end()));
    EXPECT_EQ(SymbolKey::Hash(known.name), known.hash);
    const SymbolKey key(known.name);
    EXPECT_EQ(key.value(), known.key);
    EXPECT_EQ(key.length(), known.name.size());
  }
}

TEST(SymbolKeyTest, NameOf8192CharactersGetsLengthZeroAndAWarning) {
  std::vector<std::pair<std::string, uint32_t>> written;
  const DiagnosticConsole previous = SetDiagnosticConsole(
      [&](std::string_view text, uint32_t colour) { written.emplace_back(text, colour); });
  const SymbolKey key(std::u16string(8192, u'x'));
  const SymbolKey fits(std::u16string(8191, u'x'));
  SetDiagnosticConsole(previous);

  EXPECT_EQ(key.length(), 0u);
  EXPECT_EQ(fits.length(), 8191u);
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].first, "WARNING: Symbol too large, truncated.");
  EXPECT_EQ(written[0].second, 0xFF0000u);
}

TEST(SymbolKeyTest, WithoutAConsoleTheWarningGoesNowhere) {
  const DiagnosticConsole previous = SetDiagnosticConsole(nullptr);
  EXPECT_EQ(SymbolKey(std::u16string(10000, u'y')).length(), 10000u & 0x1FFF);
  SetDiagnosticConsole(previous);
}

class SymbolTableTest : public ::testing::Test {
 protected:
  SymbolTableTest() : derived_(4, &base_) {
    base_.add({u"Caption", 10});
    base_.add({u"Left", 11});
    base_.add({u"Move", 12, false, {u"Left", u"Top", u"Width", u"Height"}});
    derived_.add({u"Caption", 20, /*hidden=*/true});
    derived_.add({u"Value", 21});
    derived_.add({u"Left", kNoDispatchId});
    derived_.add({u"Text", 22, false, {u"Start"}});
  }

  HRESULT lookUp(std::vector<std::u16string> names, std::vector<DISPID>& ids) const {
    std::vector<LPOLESTR> pointers;
    for (auto& name : names)
      pointers.push_back(name.data());
    ids.assign(names.size(), 12345);
    return derived_.getIDsOfNames(pointers.data(), static_cast<UINT>(pointers.size()), ids.data());
  }

  SymbolTable base_{8};
  SymbolTable derived_;
};

TEST_F(SymbolTableTest, BucketCountIsAPowerOfTwo) {
  for (auto [asked, given] : {std::pair{0, 1}, {1, 1}, {3, 4}, {16, 16}, {17, 32}}) {
    EXPECT_EQ(SymbolTable(asked).bucketCount(), static_cast<size_t>(given)) << asked;
  }
}

TEST_F(SymbolTableTest, LooksUpNamesIgnoringAsciiCase) {
  const struct {
    std::u16string name;
    DISPID id;
  } cases[] = {
      {u"Value", 21},
      {u"VALUE", 21},
      {u"value", 21},
      {u"vAlUe", 21},
      {u"Text", 22},
      {u"Move", 12},
      {u"mOVE", 12},
      // Non-ASCII letters are compared exactly.
      {u"V\u00c4lue", -1},
      {u"Valu", -1},
      {u"Values", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    std::vector<DISPID> ids;
    const HRESULT status = lookUp({c.name}, ids);
    EXPECT_EQ(ids[0], c.id);
    EXPECT_EQ(status, c.id == -1 ? DISP_E_UNKNOWNNAME : S_OK);
  }
}

TEST_F(SymbolTableTest, HiddenOrIdlessMembersLetTheBaseAnswer) {
  std::vector<DISPID> ids;
  EXPECT_EQ(lookUp({u"caption"}, ids), S_OK);
  EXPECT_EQ(ids[0], 10);
  EXPECT_EQ(lookUp({u"Left"}, ids), S_OK);
  EXPECT_EQ(ids[0], 11);
}

TEST_F(SymbolTableTest, ParameterNamesGetTheirPositions) {
  std::vector<DISPID> ids;
  EXPECT_EQ(lookUp({u"Move", u"height", u"LEFT"}, ids), S_OK);
  EXPECT_EQ(ids, (std::vector<DISPID>{12, 3, 0}));

  EXPECT_EQ(lookUp({u"Move", u"Top", u"Depth"}, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids, (std::vector<DISPID>{12, 1, -1}));
}

TEST_F(SymbolTableTest, ManyMembersInFewBucketsAreAllFound) {
  SymbolTable table(2);
  for (int i = 0; i < 200; ++i) {
    const std::string name = "Member" + std::to_string(i);
    table.add({std::u16string(name.begin(), name.end()), i + 1});
  }
  for (int i = 0; i < 200; ++i) {
    const std::string name = "MEMBER" + std::to_string(i);
    EXPECT_EQ(table.idOf(std::u16string(name.begin(), name.end())), i + 1);
  }
}

}  // namespace
}  // namespace rt
