// The compressed design blob stored in the executable.
//
//   offset 0: total length including this 8-byte header (little-endian)
//   offset 4: length of the unpacked data
//   offset 8: raw DEFLATE stream (no zlib or gzip header)
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/types.h"

namespace rt {

inline constexpr size_t kDesignBlobHeaderSize = 8;
// Unpacked designs of a program stay far below this; a larger stated length
// is a corrupt header and allocates nothing.
inline constexpr uint32_t kMaxUnpackedDesignSize = 64u << 20;

class DesignBlob {
 public:
  // Inflates blob into out, which receives exactly the stated unpacked
  // length. E_FAIL for a bad header, a corrupt or short stream, or a stream
  // that unpacks to another length.
  static HRESULT Unpack(std::span<const uint8_t> blob, std::vector<uint8_t>& out);

  // Deflates unpacked data into a blob with its header (the design compiler).
  static HRESULT Pack(std::span<const uint8_t> unpacked, std::vector<uint8_t>& out);
};

}  // namespace rt
