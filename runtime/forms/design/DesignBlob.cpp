#include "runtime/forms/design/DesignBlob.h"

#include <zlib.h>

#include <cstring>

#include "runtime/forms/design/DesignReader.h"

namespace rt {
namespace {

// Raw DEFLATE: negative window bits mean no zlib header or trailer.
constexpr int kRawWindowBits = -15;

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

HRESULT DesignBlob::Unpack(std::span<const uint8_t> blob, std::vector<uint8_t>& out) {
  out.clear();
  DesignReader header(blob);
  uint32_t total = 0, unpacked = 0;
  if (!header.readU32(total) || !header.readU32(unpacked)) return E_FAIL;
  if (total < kDesignBlobHeaderSize || total > blob.size()) return E_FAIL;
  if (unpacked > kMaxUnpackedDesignSize) return E_FAIL;

  z_stream stream{};
  if (inflateInit2(&stream, kRawWindowBits) != Z_OK) return E_FAIL;
  std::vector<uint8_t> buffer(unpacked);
  stream.next_in = const_cast<Bytef*>(blob.data() + kDesignBlobHeaderSize);
  stream.avail_in = static_cast<uInt>(total - kDesignBlobHeaderSize);
  stream.next_out = buffer.data();
  stream.avail_out = static_cast<uInt>(buffer.size());
  int status = inflate(&stream, Z_FINISH);
  // A stream that would unpack to more than stated stops with its output full.
  const bool complete = status == Z_STREAM_END && stream.total_out == unpacked;
  inflateEnd(&stream);
  if (!complete) return E_FAIL;
  out = std::move(buffer);
  return S_OK;
}

HRESULT DesignBlob::Pack(std::span<const uint8_t> unpacked, std::vector<uint8_t>& out) {
  out.clear();
  if (unpacked.size() > kMaxUnpackedDesignSize) return E_FAIL;
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kRawWindowBits, 9,
                   Z_DEFAULT_STRATEGY) != Z_OK) {
    return E_FAIL;
  }
  const uLong bound = deflateBound(&stream, static_cast<uLong>(unpacked.size()));
  out.resize(kDesignBlobHeaderSize + bound);
  stream.next_in = const_cast<Bytef*>(unpacked.data());
  stream.avail_in = static_cast<uInt>(unpacked.size());
  stream.next_out = out.data() + kDesignBlobHeaderSize;
  stream.avail_out = static_cast<uInt>(bound);
  const int status = deflate(&stream, Z_FINISH);
  const uLong written = stream.total_out;
  deflateEnd(&stream);
  if (status != Z_STREAM_END) {
    out.clear();
    return E_FAIL;
  }
  out.resize(kDesignBlobHeaderSize + written);
  PutU32(out, 0, static_cast<uint32_t>(out.size()));
  PutU32(out, 4, static_cast<uint32_t>(unpacked.size()));
  return S_OK;
}

}  // namespace rt
