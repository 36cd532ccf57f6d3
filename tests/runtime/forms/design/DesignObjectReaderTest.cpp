// The walk over a design record's object tree: order, events, bounds.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// An object with a one-byte class identifier tag, a block of `block` bytes
// and `children` children (encoded by the caller after it).
void Header(Bytes& out, uint8_t id, uint16_t children, bool events = false, uint32_t block = 0) {
  out.push_back(id);
  out.insert(out.end(), 15, 0);
  out.push_back(events ? 1 : 0);
  if (events) out.insert(out.end(), 16, 0xEE);
  PutU32(out, block);
  out.insert(out.end(), block, 0xB0);
  out.push_back(static_cast<uint8_t>(children));
  out.push_back(static_cast<uint8_t>(children >> 8));
}

Bytes Record(const Bytes& objects, int lengthAdjust = 0) {
  Bytes r;
  PutU32(r, rt::kDesignRecordMagic);
  PutU32(r, static_cast<uint32_t>(8 + objects.size() + lengthAdjust));
  r.insert(r.end(), objects.begin(), objects.end());
  return r;
}

struct Seen {
  uint8_t id;
  int depth;
  bool events;
  size_t block;
};

class Recorder : public rt::DesignObjectVisitor {
 public:
  HRESULT enterObject(const rt::DesignObjectHeader& h) override {
    seen.push_back(
        {reinterpret_cast<const uint8_t*>(&h.clsid)[0], h.depth, h.hasEvents, h.properties.size()});
    return failAt == seen.size() ? E_ABORT : S_OK;
  }
  std::vector<Seen> seen;
  size_t failAt = 0;
};

TEST(DesignObjectReader, VisitsObjectsDepthFirst) {
  Bytes objects;
  Header(objects, 1, 2, true, 3);   // form
  Header(objects, 2, 1);            // frame
  Header(objects, 3, 0, true);      // control in the frame
  Header(objects, 4, 0, false, 5);  // control on the form
  Recorder recorder;
  ASSERT_EQ(rt::DesignObjectReader::Walk(Record(objects), recorder), S_OK);
  ASSERT_EQ(recorder.seen.size(), 4u);
  const int depths[] = {0, 1, 2, 1};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(recorder.seen[i].id, i + 1);
    EXPECT_EQ(recorder.seen[i].depth, depths[i]);
  }
  EXPECT_TRUE(recorder.seen[2].events);
  EXPECT_EQ(recorder.seen[0].block, 3u);
  EXPECT_EQ(recorder.seen[3].block, 5u);
}

TEST(DesignObjectReader, TheRecordLengthBoundsEveryRead) {
  Bytes objects;
  Header(objects, 1, 1);
  Header(objects, 2, 0);
  Recorder recorder;
  // The data goes on, but the record says it ends one byte early.
  EXPECT_EQ(rt::DesignObjectReader::Walk(Record(objects, -1), recorder), E_FAIL);
  EXPECT_EQ(recorder.seen.size(), 1u);
  EXPECT_EQ(rt::DesignObjectReader::Walk(Record(objects, +1), recorder), E_FAIL);
}

TEST(DesignObjectReader, BadRecordsAndHostileCounts) {
  Bytes badMagic = Record({});
  badMagic[0] ^= 1;
  Bytes manyChildren;
  Header(manyChildren, 1, 0xFFFF);
  Bytes hugeBlock;
  Header(hugeBlock, 1, 0);
  hugeBlock[17] = 0xFF, hugeBlock[18] = 0xFF, hugeBlock[19] = 0xFF, hugeBlock[20] = 0x7F;
  Bytes deep;
  for (int i = 0; i < 100; ++i)
    Header(deep, 1, 1);
  Header(deep, 1, 0);
  for (const Bytes& record : {badMagic, Record(manyChildren), Record(hugeBlock), Record(deep)}) {
    Recorder recorder;
    EXPECT_EQ(rt::DesignObjectReader::Walk(record, recorder), E_FAIL);
    EXPECT_LE(recorder.seen.size(), static_cast<size_t>(rt::kMaxObjectNesting));
  }
}

TEST(DesignObjectReader, AVisitorsFailureStopsTheWalk) {
  Bytes objects;
  Header(objects, 1, 3);
  for (uint8_t id = 2; id <= 4; ++id)
    Header(objects, id, 0);
  Recorder recorder;
  recorder.failAt = 2;
  EXPECT_EQ(rt::DesignObjectReader::Walk(Record(objects), recorder), E_ABORT);
  EXPECT_EQ(recorder.seen.size(), 2u);
}

}  // namespace
