#include "runtime/core/FileSlot.h"

#include <algorithm>

namespace rt {
namespace {

// WriteFile of a whole block; the bytes written count towards the position
// even when the disk took only part of them.
HRESULT writeThrough(FileSlot& slot, const BYTE* bytes, DWORD length) {
  if (length == 0) return S_OK;
  DWORD written = 0;
  const BOOL ok = WriteFile(slot.handle.get(), bytes, length, &written, nullptr);
  slot.position += written;
  return ok && written == length ? S_OK : E_FAIL;
}

HRESULT store(FileSlot& slot, std::span<const BYTE> bytes) {
  const DWORD length = static_cast<DWORD>(bytes.size());
  // An unbuffered file writes everything at once.
  if (slot.buffer.empty()) return writeThrough(slot, bytes.data(), length);
  const DWORD room = slot.bufferCapacity - slot.bufferedCount;
  if (length <= room) {
    std::copy(bytes.begin(), bytes.end(), slot.buffer.begin() + slot.bufferedCount);
    slot.bufferedCount += length;
    return S_OK;
  }
  std::copy_n(bytes.begin(), room, slot.buffer.begin() + slot.bufferedCount);
  slot.bufferedCount = slot.bufferCapacity;
  if (HRESULT hr = FlushFileBuffer(slot); FAILED(hr)) return hr;
  std::span<const BYTE> rest = bytes.subspan(room);
  if (rest.size() >= slot.bufferCapacity) {
    return writeThrough(slot, rest.data(), static_cast<DWORD>(rest.size()));
  }
  std::copy(rest.begin(), rest.end(), slot.buffer.begin());
  slot.bufferedCount = static_cast<DWORD>(rest.size());
  return S_OK;
}

}  // namespace

FileSlot::FileSlot() : write(&WriteBytes) {}

HRESULT FlushFileBuffer(FileSlot& slot) {
  const DWORD count = slot.bufferedCount;
  slot.bufferedCount = 0;
  return writeThrough(slot, slot.buffer.data(), count);
}

HRESULT WriteBytes(FileSlot& slot, std::span<const BYTE> bytes, bool noWrap) {
  const DWORD length = static_cast<DWORD>(bytes.size());
  if (!noWrap && slot.lineWidth != 0 && slot.column != 0 && slot.column + length > slot.lineWidth) {
    HRESULT hr = slot.write(slot, slot.format->bytes(PrintText::LineBreak), true);
    slot.column = 0;
    if (FAILED(hr)) return hr;
  }
  const HRESULT hr = store(slot, bytes);
  slot.column += length;
  return hr;
}

}  // namespace rt
