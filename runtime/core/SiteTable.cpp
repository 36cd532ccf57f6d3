#include "runtime/core/SiteTable.h"

#include <cstring>

namespace rt {
namespace {

// A bounds-checked little-endian reader over the table.
class Reader {
 public:
  explicit Reader(SiteTable table) : table_(table) {}

  bool has(size_t offset, size_t bytes) const {
    return offset <= table_.size() && bytes <= table_.size() - offset;
  }
  uint32_t u8(size_t offset) const { return table_[offset]; }
  uint32_t u16(size_t offset) const { return u8(offset) | (u8(offset + 1) << 8); }
  uint32_t u32(size_t offset) const { return u16(offset) | (u16(offset + 2) << 16); }
  uint64_t u64(size_t offset) const {
    return static_cast<uint64_t>(u32(offset)) | (static_cast<uint64_t>(u32(offset + 4)) << 32);
  }

 private:
  SiteTable table_;
};

DecodedSite missingSite() {
  DecodedSite site;
  site.lineValue = 0;
  site.status = E_FAIL;
  return site;
}

// The base line plus a record's delta in 32-bit arithmetic: a table whose
// sum does not fit wraps around as the machine's addition does, rather than
// overflowing a signed integer.
LONG LineOf(LONG baseLine, uint32_t delta) {
  return static_cast<LONG>(static_cast<uint32_t>(baseLine) + delta);
}

struct FixedPart {
  size_t size;
  bool extension;
  bool statusAbsent;
};

// Reads the short, medium or long fixed part at `at` into `site`.
bool readFixedPart(const Reader& r, size_t at, LONG baseLine, DecodedSite& site, FixedPart& part) {
  if (!r.has(at, 4)) return false;
  const uint32_t f = r.u32(at);
  if (f & 1) {  // short
    if (!r.has(at, 5)) return false;
    site.raiseFromRecord = f & (1u << 2);
    site.statementLength = (f >> 4) & 0x1FF;
    site.line = LineOf(baseLine, (f >> 13) & 0x7FF);
    site.statementStart = r.u8(at + 3) * 256 + r.u8(at + 4);
    part = {5, (f & (1u << 3)) != 0, (f & (1u << 1)) != 0};
    return true;
  }
  if (f & 2) {  // long
    if (!r.has(at, 12)) return false;
    site.raiseFromRecord = f & (1u << 3);
    site.statementLength = f >> 5;
    site.statementStart = r.u32(at + 4);
    site.line = LineOf(baseLine, r.u32(at + 8));
    part = {12, (f & (1u << 4)) != 0, (f & (1u << 2)) != 0};
    return true;
  }
  if (!r.has(at, 7)) return false;  // medium
  site.raiseFromRecord = f & (1u << 3);
  site.statementLength = (f >> 4) & 0xFFF;
  site.line = LineOf(baseLine, static_cast<uint32_t>(static_cast<int16_t>(r.u16(at + 2))));
  const uint32_t word = r.u16(at + 4);
  site.statementStart = (word >> 1) * 256 + r.u8(at + 6);
  part = {7, (word & 1) != 0, (f & (1u << 2)) != 0};
  return true;
}

}  // namespace

uint32_t SiteCount(SiteTable table) {
  const Reader r(table);
  return r.has(0, 8) ? (r.u32(0) & 0xFFFFFF) : 0;
}

DecodedSite DecodeSite(SiteTable table, uint32_t siteNumber, HRESULT raisedStatus) {
  const Reader r(table);
  if (!r.has(0, 8)) return missingSite();
  const uint32_t header = r.u32(0);
  const uint32_t count = header & 0xFFFFFF;
  const uint32_t width = header >> 24;
  if (siteNumber >= count || width < 1 || width > 4) return missingSite();

  const size_t entryAt = 8 + static_cast<size_t>(siteNumber) * width;
  const size_t recordArea = 8 + static_cast<size_t>(count) * width;
  if (!r.has(entryAt, width)) return missingSite();
  uint32_t offset = 0;
  switch (width) {
    case 1:
      offset = r.u8(entryAt);
      break;
    case 2:
      offset = r.u16(entryAt);
      break;
    case 3:
      offset = r.u16(entryAt) | (r.u8(entryAt + 2) << 16);
      break;
    default:
      offset = r.u32(entryAt);
      break;
  }

  DecodedSite site;
  site.status = raisedStatus;
  const LONG baseLine = static_cast<LONG>(r.u32(4));
  size_t at = recordArea + offset;
  FixedPart part{};
  if (!readFixedPart(r, at, baseLine, site, part)) return missingSite();
  at += part.size;

  if (part.extension) {
    if (!r.has(at, 4)) return missingSite();
    const uint32_t x = r.u32(at);
    at += 4;
    if (!(x & 0x80000000u)) {
      site.lineValue = static_cast<LONG>(x);
    } else {
      // Bits 0-28, sign-extended from bit 28.
      site.objectSlot = static_cast<LONG>(static_cast<int32_t>(x << 3) >> 3);
      if (x & (1u << 29)) {
        if (!r.has(at, sizeof(void*))) return missingSite();
        const uint64_t pointer = r.u64(at);
        std::memcpy(&site.interfaceId, &pointer, sizeof(void*));
        at += sizeof(void*);
      }
      if (x & (1u << 30)) {
        if (!r.has(at, 4)) return missingSite();
        site.lineValue = static_cast<LONG>(r.u32(at));
        at += 4;
      }
    }
  }
  if (!part.statusAbsent) {
    if (!r.has(at, 4)) return missingSite();
    site.status = static_cast<HRESULT>(r.u32(at));
  }
  return site;
}

}  // namespace rt
