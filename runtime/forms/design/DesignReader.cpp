#include "runtime/forms/design/DesignReader.h"

#include <cstring>

namespace rt {

bool DesignReader::setSize(size_t size) {
  if (size > data_.size() || size < position_) return false;
  size_ = size;
  return true;
}

template <typename T>
bool DesignReader::readLittleEndian(T& out) {
  if (remaining() < sizeof(T)) return false;
  uint64_t value = 0;
  for (size_t i = 0; i < sizeof(T); ++i) {
    value |= uint64_t{data_[position_ + i]} << (8 * i);
  }
  out = static_cast<T>(value);
  position_ += sizeof(T);
  return true;
}

bool DesignReader::readU8(uint8_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readI8(int8_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readU16(uint16_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readI16(int16_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readU32(uint32_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readI32(int32_t& out) {
  return readLittleEndian(out);
}
bool DesignReader::readU64(uint64_t& out) {
  return readLittleEndian(out);
}

bool DesignReader::readGuid(GUID& out) {
  if (remaining() < 16) return false;
  GUID guid{};
  const size_t start = position_;
  readU32(guid.Data1);
  readU16(guid.Data2);
  readU16(guid.Data3);
  std::memcpy(guid.Data4, data_.data() + position_, 8);
  position_ = start + 16;
  out = guid;
  return true;
}

bool DesignReader::readLeb128(uint32_t& out) {
  const size_t start = position_;
  uint64_t value = 0;
  for (int group = 0; group < 5; ++group) {
    uint8_t byte = 0;
    if (!readU8(byte)) break;
    value |= uint64_t{byte & 0x7Fu} << (7 * group);
    if ((byte & 0x80) == 0) {
      if (value > UINT32_MAX) break;
      out = static_cast<uint32_t>(value);
      return true;
    }
  }
  position_ = start;
  return false;
}

bool DesignReader::readBytes(size_t n, std::span<const uint8_t>& out) {
  if (remaining() < n) return false;
  out = data_.subspan(position_, n);
  position_ += n;
  return true;
}

bool DesignReader::skip(size_t n) {
  if (remaining() < n) return false;
  position_ += n;
  return true;
}

}  // namespace rt
