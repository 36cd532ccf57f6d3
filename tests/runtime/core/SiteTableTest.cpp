#include "runtime/core/SiteTable.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/core/SiteTableBuilder.h"
#include "runtime/core/Status.h"

namespace rt {
namespace {

// Two sites, offsets one byte wide: a short record with a fixed status, then a
// medium record with an extension (object slot 0 and a line value).
const std::vector<uint8_t> kShortAndMedium = {
    0x02, 0x00, 0x00, 0x01,  // 2 sites, width 1
    0x0A, 0x00, 0x00, 0x00,  // base line 10
    0x00, 0x09,              // offsets
    // site 0, short: length 3, line delta 5, start 0x0102, status 0x800A005B
    0x31, 0xA0, 0x00, 0x01, 0x02, 0x5B, 0x00, 0x0A, 0x80,
    // site 1, medium: from record, no fixed status, length 0x123, delta -2,
    // start 0x012345, extension: slot 0 and line value 77
    0x3C, 0x12, 0xFE, 0xFF, 0x47, 0x02, 0x45, 0x00, 0x00, 0x00, 0xC0, 0x4D, 0x00, 0x00, 0x00};

// One long record, offsets three bytes wide, line value extension, overflow status.
const std::vector<uint8_t> kLong = {0x01, 0x00, 0x00, 0x03,   // 1 site, width 3
                                    0xFF, 0xFF, 0xFF, 0xFF,   // base line -1
                                    0x00, 0x00, 0x00,         // offset
                                    0x12, 0x7D, 0x00, 0x00,   // long, extension, length 1000
                                    0x00, 0x00, 0x00, 0x01,   // start 0x01000000
                                    0x64, 0x00, 0x00, 0x00,   // line delta 100
                                    0xD2, 0x04, 0x00, 0x00,   // line value 1234
                                    0x0A, 0x00, 0x02, 0x80};  // fixed status

TEST(DecodeSite, ReadsTheThreeRecordForms) {
  DecodedSite s0 = DecodeSite(kShortAndMedium, 0, E_FAIL);
  EXPECT_FALSE(s0.raiseFromRecord);
  EXPECT_EQ(s0.statementLength, 3u);
  EXPECT_EQ(s0.statementStart, 0x0102u);
  EXPECT_EQ(s0.line, 15);
  EXPECT_EQ(s0.lineValue, -1);
  EXPECT_EQ(s0.status, ErrorStatus(91));
  EXPECT_EQ(s0.objectSlot, -1);
  EXPECT_EQ(s0.interfaceId, nullptr);

  DecodedSite s1 = DecodeSite(kShortAndMedium, 1, E_ACCESSDENIED);
  EXPECT_TRUE(s1.raiseFromRecord);
  EXPECT_EQ(s1.statementLength, 0x123u);
  EXPECT_EQ(s1.statementStart, 0x012345u);
  EXPECT_EQ(s1.line, 8);
  EXPECT_EQ(s1.lineValue, 77);
  EXPECT_EQ(s1.status, E_ACCESSDENIED);  // no fixed status: the raised one
  EXPECT_EQ(s1.objectSlot, 0);

  DecodedSite s2 = DecodeSite(kLong, 0, E_FAIL);
  EXPECT_EQ(s2.statementLength, 1000u);
  EXPECT_EQ(s2.statementStart, 0x01000000u);
  EXPECT_EQ(s2.line, 99);
  EXPECT_EQ(s2.lineValue, 1234);
  EXPECT_EQ(s2.status, DISP_E_OVERFLOW);
}

// Found by fuzzing: a base line and a line delta whose sum does not fit 32
// bits (base 0xE3000001, long record with delta 0x801A0000) overflowed a
// signed addition. The line wraps around as a 32-bit addition does.
TEST(DecodeSite, LineSumsBeyond32BitsWrapAround) {
  const std::vector<uint8_t> table = {0x02, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0xE3,
                                      0x00, 0x00, 0x00, 0x00, 0x2E, 0x00, 0x00, 0x00,
                                      0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x1A, 0x80,
                                      0x00, 0x04, 0x27, 0x01, 0x00, 0x00, 0x00};
  for (uint32_t site : {0u, 1u}) {
    EXPECT_EQ(DecodeSite(table, site, E_FAIL).line, 1662648321) << "site " << site;
  }
  // Each record form, at the edges of the range.
  struct Case {
    const char* what;
    std::vector<uint8_t> table;
    LONG line;
  } cases[] = {
      {"short, delta 0x7FF on the largest base",
       {0x01, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x03, 0xE0, 0xFF, 0x00, 0x00},
       static_cast<LONG>(0x800007FE)},
      {"medium, delta -1 on the smallest base",
       {0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x80, 0x00, 0x04, 0x00, 0xFF, 0xFF, 0x00, 0x00,
        0x00},
       0x7FFFFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeSite(c.table, 0, E_FAIL).line, c.line) << c.what;
  }
}

TEST(DecodeSite, MissingTablesAndSitesTakeTheDefaults) {
  auto expectMissing = [](const DecodedSite& s) {
    EXPECT_FALSE(s.raiseFromRecord);
    EXPECT_EQ(s.statementLength, 0u);
    EXPECT_EQ(s.statementStart, 0u);
    EXPECT_EQ(s.line, 0);
    EXPECT_EQ(s.lineValue, 0);
    EXPECT_EQ(s.interfaceId, nullptr);
    EXPECT_EQ(s.objectSlot, -1);
    EXPECT_EQ(s.status, E_FAIL);
  };
  expectMissing(DecodeSite({}, 0, ErrorStatus(5)));
  expectMissing(DecodeSite(kShortAndMedium, 2, ErrorStatus(5)));
  expectMissing(DecodeSite(kShortAndMedium, 255, ErrorStatus(5)));
  // Every truncation either still holds the site or decodes as missing.
  for (size_t n = 0; n < kLong.size(); ++n) {
    std::vector<uint8_t> cut(kLong.begin(), kLong.begin() + static_cast<long>(n));
    expectMissing(DecodeSite(cut, 0, ErrorStatus(5)));
  }
  std::vector<uint8_t> badWidth = kLong;
  badWidth[3] = 5;
  expectMissing(DecodeSite(badWidth, 0, ErrorStatus(5)));
}

TEST(SiteTableBuilder, ProducesTheHandAssembledBytes) {
  SiteRecord s0;
  s0.statementStart = 0x0102;
  s0.statementLength = 3;
  s0.line = 15;
  s0.fixedStatus = ErrorStatus(91);
  s0.hasFixedStatus = true;
  SiteRecord s1;
  s1.statementStart = 0x012345;
  s1.statementLength = 0x123;
  s1.line = 8;
  s1.raiseFromRecord = true;
  s1.objectSlot = 0;
  s1.lineValue = 77;
  EXPECT_EQ(SiteTableBuilder(10).add(s0).add(s1).build(), kShortAndMedium);

  SiteRecord l;
  l.statementStart = 0x01000000;
  l.statementLength = 1000;
  l.line = 99;
  l.lineValue = 1234;
  l.fixedStatus = DISP_E_OVERFLOW;
  l.hasFixedStatus = true;
  std::vector<uint8_t> built = SiteTableBuilder(-1).add(l).build();
  // The builder picks the narrowest offset width (1 byte, not the 3 above).
  std::vector<uint8_t> expected = kLong;
  expected[3] = 1;
  expected.erase(expected.begin() + 9, expected.begin() + 11);
  EXPECT_EQ(built, expected);
}

TEST(SiteTableBuilder, RoundTripsEveryShape) {
  static constexpr IID kIid{0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
  std::vector<SiteRecord> sites;
  for (uint32_t start : {0u, 7u, 0xFFFFu, 0x10000u, 0x7FFFFFu, 0x800000u}) {
    for (LONG slot : {-1, 0, 2, -2}) {
      SiteRecord s;
      s.statementStart = start;
      s.statementLength = start % 3 + 1;
      s.line = static_cast<LONG>(start % 5000);
      s.objectSlot = slot;
      s.interfaceId = slot == 2 ? &kIid : nullptr;
      s.lineValue = slot == 0 ? 42 : -1;
      s.raiseFromRecord = start == 7;
      s.hasFixedStatus = slot != -2;
      s.fixedStatus = static_cast<HRESULT>(0x80000000u | start);
      sites.push_back(s);
    }
  }
  // Enough records to need two-byte offsets.
  for (int i = 0; i < 40; ++i)
    sites.push_back(sites[static_cast<size_t>(i) % sites.size()]);
  SiteTableBuilder builder(0);
  for (const SiteRecord& s : sites)
    builder.add(s);
  const std::vector<uint8_t> table = builder.build();
  EXPECT_EQ(table[3], 2) << "offset width";
  EXPECT_EQ(SiteCount(table), sites.size());
  for (size_t k = 0; k < sites.size(); ++k) {
    const SiteRecord& want = sites[k];
    DecodedSite got = DecodeSite(table, static_cast<uint32_t>(k), 0x1234);
    EXPECT_EQ(got.statementStart, want.statementStart) << k;
    EXPECT_EQ(got.statementLength, want.statementLength) << k;
    EXPECT_EQ(got.line, want.line) << k;
    EXPECT_EQ(got.raiseFromRecord, want.raiseFromRecord) << k;
    EXPECT_EQ(got.objectSlot, want.objectSlot) << k;
    EXPECT_EQ(got.interfaceId, want.interfaceId) << k;
    EXPECT_EQ(got.lineValue, want.lineValue) << k;
    EXPECT_EQ(got.status, want.hasFixedStatus ? want.fixedStatus : 0x1234) << k;
  }
}

}  // namespace
}  // namespace rt
