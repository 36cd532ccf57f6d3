#include "runtime/core/SiteTableBuilder.h"

#include <cassert>
#include <cstring>

namespace rt {
namespace {

void put8(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
}
void put16(std::vector<uint8_t>& out, uint32_t v) {
  put8(out, v);
  put8(out, v >> 8);
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v);
  put16(out, v >> 16);
}

bool needsExtension(const SiteRecord& s) {
  return s.objectSlot != -1 || s.lineValue >= 0;
}

void putRecord(std::vector<uint8_t>& out, const SiteRecord& s, LONG baseLine) {
  const bool extension = needsExtension(s);
  const bool statusAbsent = !s.hasFixedStatus;
  const int64_t delta = static_cast<int64_t>(s.line) - baseLine;
  if (delta >= 0 && delta <= 0x7FF && s.statementLength <= 0x1FF && s.statementStart <= 0xFFFF) {
    put32(out, 1u | (statusAbsent ? 2u : 0u) | (s.raiseFromRecord ? 4u : 0u) |
                   (extension ? 8u : 0u) | (s.statementLength << 4) |
                   (static_cast<uint32_t>(delta) << 13) | ((s.statementStart >> 8) << 24));
    put8(out, s.statementStart);  // byte 3 (the flags word's top byte) holds the high byte
  } else if (delta >= INT16_MIN && delta <= INT16_MAX && s.statementLength <= 0xFFF &&
             s.statementStart < (1u << 23)) {
    put16(out, (statusAbsent ? 4u : 0u) | (s.raiseFromRecord ? 8u : 0u) | (s.statementLength << 4));
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(delta)));
    put16(out, ((s.statementStart >> 8) << 1) | (extension ? 1u : 0u));
    put8(out, s.statementStart);
  } else {
    assert(s.statementLength < (1u << 27));
    put32(out, 2u | (statusAbsent ? 4u : 0u) | (s.raiseFromRecord ? 8u : 0u) |
                   (extension ? 16u : 0u) | (s.statementLength << 5));
    put32(out, s.statementStart);
    put32(out, static_cast<uint32_t>(static_cast<int32_t>(delta)));
  }
  if (extension) {
    if (s.objectSlot == -1) {
      put32(out, static_cast<uint32_t>(s.lineValue));
    } else {
      put32(out, 0x80000000u | (static_cast<uint32_t>(s.objectSlot) & 0x1FFFFFFFu) |
                     (s.interfaceId ? (1u << 29) : 0u) | (s.lineValue >= 0 ? (1u << 30) : 0u));
      if (s.interfaceId) {
        uint64_t pointer = 0;
        std::memcpy(&pointer, &s.interfaceId, sizeof(void*));
        put32(out, static_cast<uint32_t>(pointer));
        put32(out, static_cast<uint32_t>(pointer >> 32));
      }
      if (s.lineValue >= 0) put32(out, static_cast<uint32_t>(s.lineValue));
    }
  }
  if (s.hasFixedStatus) put32(out, static_cast<uint32_t>(s.fixedStatus));
}

int widthFor(uint32_t largestOffset) {
  if (largestOffset <= 0xFF) return 1;
  if (largestOffset <= 0xFFFF) return 2;
  if (largestOffset <= 0xFFFFFF) return 3;
  return 4;
}

}  // namespace

SiteTableBuilder& SiteTableBuilder::add(const SiteRecord& site) {
  assert(site.lineValue >= -1);
  sites_.push_back(site);
  return *this;
}

std::vector<uint8_t> SiteTableBuilder::build() const {
  std::vector<uint8_t> records;
  std::vector<uint32_t> offsets;
  for (const SiteRecord& s : sites_) {
    offsets.push_back(static_cast<uint32_t>(records.size()));
    putRecord(records, s, baseLine_);
  }
  const int width = widthFor(offsets.empty() ? 0 : offsets.back());
  std::vector<uint8_t> table;
  put32(table, static_cast<uint32_t>(sites_.size()) | (static_cast<uint32_t>(width) << 24));
  put32(table, static_cast<uint32_t>(baseLine_));
  for (uint32_t offset : offsets) {
    switch (width) {
      case 1:
        put8(table, offset);
        break;
      case 2:
        put16(table, offset);
        break;
      case 3:
        put16(table, offset);
        put8(table, offset >> 16);
        break;
      default:
        put32(table, offset);
        break;
    }
  }
  table.insert(table.end(), records.begin(), records.end());
  return table;
}

}  // namespace rt
