// The blob header, inflation through zlib and the filling of the design table.
#include <gtest/gtest.h>

#include <numeric>

#include "runtime/forms/design/DesignBlob.h"
#include "runtime/forms/design/DesignTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A design record of `extra` payload bytes after magic and length.
Bytes Record(uint32_t extra, uint8_t fill) {
  Bytes r;
  PutU32(r, rt::kDesignRecordMagic);
  PutU32(r, 8 + extra);
  r.insert(r.end(), extra, fill);
  return r;
}

TEST(DesignBlob, PackedDataUnpacksToTheSameBytes) {
  Bytes data(5000);
  std::iota(data.begin(), data.end(), 0);
  Bytes blob, back;
  ASSERT_EQ(rt::DesignBlob::Pack(data, blob), S_OK);
  EXPECT_EQ(blob[0] | blob[1] << 8 | blob[2] << 16 | blob[3] << 24, static_cast<int>(blob.size()));
  ASSERT_EQ(rt::DesignBlob::Unpack(blob, back), S_OK);
  EXPECT_EQ(back, data);
}

TEST(DesignBlob, BadHeadersAndStreamsFail) {
  Bytes data(100, 7), blob, out;
  ASSERT_EQ(rt::DesignBlob::Pack(data, blob), S_OK);
  const auto withU32 = [&](size_t at, uint32_t v) {
    Bytes b = blob;
    for (int i = 0; i < 4; ++i)
      b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    return b;
  };
  Bytes corrupt = blob;
  corrupt[8] = 0xFF;  // block type 3 does not exist
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty", {}},
      {"header only", Bytes(blob.begin(), blob.begin() + 8)},
      {"total beyond the blob", withU32(0, static_cast<uint32_t>(blob.size() + 1))},
      {"total below the header", withU32(0, 4)},
      {"stated length too short", withU32(4, 99)},
      {"stated length too long", withU32(4, 101)},
      {"stated length of 2^31", withU32(4, 0x80000000u)},
      {"truncated stream", withU32(0, static_cast<uint32_t>(blob.size() - 2))},
      {"corrupt stream", corrupt},
  };
  for (const auto& [name, b] : cases)
    EXPECT_EQ(rt::DesignBlob::Unpack(b, out), E_FAIL) << name;
}

TEST(DesignTable, RecordsLandInTheSlotsOfTheirFormIndex) {
  Bytes data;
  PutU32(data, 2);
  PutU32(data, 8091);
  const Bytes first = Record(3, 0x11);
  data.insert(data.end(), first.begin(), first.end());
  PutU32(data, 5);
  const Bytes second = Record(0, 0);
  data.insert(data.end(), second.begin(), second.end());

  rt::DesignTable table;
  ASSERT_EQ(table.installUnpacked(data), S_OK);
  EXPECT_EQ(table.recordCount(), 2u);
  ASSERT_GE(table.record(8091).size(), first.size());
  EXPECT_TRUE(std::equal(first.begin(), first.end(), table.record(8091).begin()));
  EXPECT_EQ(table.record(5).size(), second.size());
  EXPECT_TRUE(table.record(0).empty());
  EXPECT_TRUE(table.record(9000).empty());
}

TEST(DesignTable, BadRecordsEndTheFillingAndKeepTheOnesBefore) {
  const auto table = [](uint32_t count, uint32_t index, uint32_t length) {
    Bytes data;
    PutU32(data, count);
    PutU32(data, 1);
    const Bytes good = Record(0, 0);
    data.insert(data.end(), good.begin(), good.end());
    PutU32(data, index);
    PutU32(data, rt::kDesignRecordMagic);
    PutU32(data, length);
    return data;
  };
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"index 8092", table(2, 8092, 8)},
      {"length beyond the data", table(2, 2, 9)},
      {"length below the header", table(2, 2, 4)},
      {"count of 2^31", table(0x80000000u, 2, 8)},
  };
  for (const auto& [name, data] : cases) {
    rt::DesignTable t;
    EXPECT_EQ(t.installUnpacked(data), E_FAIL) << name;
    EXPECT_FALSE(t.record(1).empty()) << name;
  }
}

TEST(DesignTable, InstallInflatesTheBlob) {
  Bytes data;
  PutU32(data, 1);
  PutU32(data, 0);
  const Bytes rec = Record(10, 0x5A);
  data.insert(data.end(), rec.begin(), rec.end());
  Bytes blob;
  ASSERT_EQ(rt::DesignBlob::Pack(data, blob), S_OK);
  rt::DesignTable table;
  ASSERT_EQ(table.install(blob), S_OK);
  EXPECT_EQ(table.record(0).size(), rec.size());
  EXPECT_EQ(table.install({}), S_OK);
  EXPECT_EQ(table.recordCount(), 0u);
}

}  // namespace
