// A bounded little-endian cursor over a design record.
//
// Every read checks the bytes left before the size; a short read fails and
// leaves the position where it was. The size can shrink (the record length
// read from the record itself) but never grow past the underlying bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/types.h"

namespace rt {

class DesignReader {
 public:
  DesignReader() = default;
  explicit DesignReader(std::span<const uint8_t> data) : data_(data), size_(data.size()) {}

  size_t position() const { return position_; }
  size_t size() const { return size_; }
  size_t remaining() const { return size_ - position_; }
  const uint8_t* data() const { return data_.data(); }

  // Bounds further reads to the first `size` bytes; fails if that is beyond
  // the underlying bytes or before the current position.
  bool setSize(size_t size);

  bool readU8(uint8_t& out);
  bool readI8(int8_t& out);
  bool readU16(uint16_t& out);
  bool readI16(int16_t& out);
  bool readU32(uint32_t& out);
  bool readI32(int32_t& out);
  bool readU64(uint64_t& out);
  bool readGuid(GUID& out);
  // Little-endian base 128, at most five bytes, value below 2^32.
  bool readLeb128(uint32_t& out);
  // A view of the next n bytes, moving past them.
  bool readBytes(size_t n, std::span<const uint8_t>& out);
  bool skip(size_t n);

 private:
  template <typename T>
  bool readLittleEndian(T& out);

  std::span<const uint8_t> data_;
  size_t size_ = 0;
  size_t position_ = 0;
};

}  // namespace rt
