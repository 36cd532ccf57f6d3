// The packed table of a procedure's raise sites, and its decoder.
//
// Layout (little-endian):
//   bytes 0-3   bits 0-23: number of sites N; bits 24-31: width W (1 to 4) of
//               each entry of the offset array
//   bytes 4-7   base line number (signed)
//   N*W bytes   offset array: entry k is the offset of site k's record from
//               the start of the record area (a 3-byte entry is a 16-bit low
//               part followed by one high byte)
//   records     each begins with a 32-bit flags word F, in one of three forms:
//     short  (F bit 0 set, 5 bytes): raise-from-record F2, length F4-12,
//            line delta F13-23, start = byte3 * 256 + byte4, extension F3,
//            fixed status absent F1
//     long   (F bit 0 clear, bit 1 set, 12 bytes): raise-from-record F3,
//            length F5-31, start = word at 4, line delta = word at 8,
//            extension F4, fixed status absent F2
//     medium (F bits 0 and 1 clear, 7 bytes): raise-from-record F3, length
//            F4-15, line delta = 16-bit word at 2, start = (16-bit word at 4
//            >> 1) * 256 + byte 6, extension = bit 0 of byte 4, fixed status
//            absent F2
//   then an optional extension word X: bit 31 clear: X is the line value; bit
//   31 set: bits 0-28 (sign-extended) are the frame slot of the called object,
//   bit 29: a pointer to the interface identifier follows (pointer-sized
//   here), bit 30: the line value follows. Last, the fixed status unless marked absent.
//
// Tables are produced with their procedures (SiteTableBuilder). They carry no
// size of their own: the decoder is given one and treats anything that would
// read past it like a missing site.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/types.h"

namespace rt {

struct DecodedSite {
  bool raiseFromRecord = false;
  uint32_t statementLength = 0;
  uint32_t statementStart = 0;
  LONG line = 0;
  // -1 when the record has no extension or the extension carries none.
  LONG lineValue = -1;
  HRESULT status = 0;
  const IID* interfaceId = nullptr;
  // -1 when the site names no object.
  LONG objectSlot = -1;
};

using SiteTable = std::span<const uint8_t>;

// Decodes site `site` of a table; `raisedStatus` is the status with which the
// site was raised. A missing (empty) table, or a site not below N, decodes as
// all zero with line value 0, no interface, slot -1 and status E_FAIL.
DecodedSite DecodeSite(SiteTable table, uint32_t site, HRESULT raisedStatus);

// The number of sites a table declares (0 for a missing or truncated table).
uint32_t SiteCount(SiteTable table);

}  // namespace rt
