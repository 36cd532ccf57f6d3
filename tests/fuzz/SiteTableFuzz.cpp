// Decodes every site of arbitrary bytes as a site table: nothing may read out
// of bounds or crash, and a missing site must decode to the defaults.
// Libraries: runtime_core
#include <cstddef>
#include <cstdint>

#include "runtime/core/SiteTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const rt::SiteTable table(data, size);
  const uint32_t count = rt::SiteCount(table);
  for (uint32_t site = 0; site < 256; ++site) {
    const rt::DecodedSite decoded = rt::DecodeSite(table, site, 0x12345678);
    if (site >= count && decoded.status != static_cast<HRESULT>(0x80004005)) __builtin_trap();
  }
  return 0;
}
