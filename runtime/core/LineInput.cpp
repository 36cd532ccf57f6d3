#include "runtime/core/LineInput.h"

#include <array>
#include <span>
#include <string>

#include "runtime/core/FileTable.h"

namespace rt {
namespace {

// The line scanner is handed at most this many bytes at a time, and an Input
// file's cache refills start this far before the byte wanted.
constexpr DWORD kChunkSize = 128;

constexpr uint16_t kCarriageReturn = 13;
constexpr uint16_t kLineFeed = 10;

// Hands out the file's bytes from a given offset, in chunks. Input files read
// through their buffer, which serves as a cache of the file; other files (and
// unbuffered ones) read each chunk from the file directly.
class ChunkSource {
 public:
  explicit ChunkSource(FileSlot& slot) : slot_(slot) {}

  bool cached() const { return slot_.mode == FileMode::Input && !slot_.buffer.empty(); }

  // Up to kChunkSize bytes at `offset`, whole units of `unit` bytes unless
  // the data ends inside one; empty at the end of the data.
  HRESULT next(DWORD offset, DWORD unit, std::span<const BYTE>* chunk) {
    return cached() ? fromCache(offset, unit, chunk) : fromFile(offset, chunk);
  }

 private:
  DWORD cachedLength() const {
    return slot_.cacheLength < 0 ? slot_.bufferCapacity : static_cast<DWORD>(slot_.cacheLength);
  }

  // The end of a short read is the end of the data, so it needs no refill.
  // A full read must hold the whole unit at `offset`: a buffer of odd length
  // ends inside a UTF-16 unit, and that unit lies partly in the next read.
  bool cacheServes(DWORD offset, DWORD unit) const {
    if (slot_.cacheOffset < 0) return false;
    const DWORD start = static_cast<DWORD>(slot_.cacheOffset);
    const DWORD end = start + cachedLength();
    if (offset < start) return false;
    if (slot_.cacheLength >= 0) return offset <= end;
    return offset < end && unit <= end - offset;
  }

  HRESULT refill(DWORD offset) {
    DWORD start = offset;
    if (slot_.bufferCapacity > kChunkSize) start = offset < kChunkSize ? 0 : offset - kChunkSize;
    slot_.cacheOffset = -1;
    if (!seek(start)) return E_FAIL;
    DWORD read = 0;
    if (!ReadFile(slot_.handle.get(), slot_.buffer.data(), slot_.bufferCapacity, &read, nullptr)) {
      return E_FAIL;
    }
    slot_.cacheOffset = static_cast<LONG>(start);
    slot_.cacheLength = read < slot_.bufferCapacity ? static_cast<LONG>(read) : -1;
    return S_OK;
  }

  HRESULT fromCache(DWORD offset, DWORD unit, std::span<const BYTE>* chunk) {
    if (!cacheServes(offset, unit)) {
      if (HRESULT hr = refill(offset); FAILED(hr)) return hr;
    }
    const DWORD skip = offset - static_cast<DWORD>(slot_.cacheOffset);
    const DWORD available = cachedLength() > skip ? cachedLength() - skip : 0;
    *chunk = std::span<const BYTE>(slot_.buffer).subspan(skip, std::min(available, kChunkSize));
    return S_OK;
  }

  HRESULT fromFile(DWORD offset, std::span<const BYTE>* chunk) {
    if (!seek(offset)) return E_FAIL;
    DWORD read = 0;
    if (!ReadFile(slot_.handle.get(), direct_.data(), kChunkSize, &read, nullptr)) return E_FAIL;
    *chunk = std::span<const BYTE>(direct_).first(read);
    return S_OK;
  }

  bool seek(DWORD offset) {
    SetLastError(ERROR_SUCCESS);
    const DWORD moved =
        SetFilePointer(slot_.handle.get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    return moved != INVALID_SET_FILE_POINTER || GetLastError() == ERROR_SUCCESS;
  }

  FileSlot& slot_;
  std::array<BYTE, kChunkSize> direct_{};
};

// Scans one line from the slot's position into its line buffer; `consumed`
// receives the bytes the line took, its end included.
HRESULT scanLine(FileSlot& slot, ChunkSource& source, DWORD* consumed) {
  const DWORD unit = slot.format->unitSize();
  DWORD cursor = slot.position;
  bool afterCarriageReturn = false;
  for (;;) {
    std::span<const BYTE> chunk;
    if (HRESULT hr = source.next(cursor, unit, &chunk); FAILED(hr)) return hr;
    const size_t units = chunk.size() / unit;
    if (units == 0) {
      cursor += static_cast<DWORD>(chunk.size());  // a stray half unit at the very end
      break;
    }
    for (size_t i = 0; i < units; ++i) {
      const BYTE* bytes = chunk.data() + i * unit;
      const uint16_t c = unit == 2 ? static_cast<uint16_t>(bytes[0] | bytes[1] << 8) : bytes[0];
      if (afterCarriageReturn) {
        if (c == kLineFeed) cursor += unit;
        *consumed = cursor - slot.position;
        return S_OK;
      }
      cursor += unit;
      if (c == kCarriageReturn) {
        afterCarriageReturn = true;
      } else if (c != 0) {
        slot.lineBuffer.insert(slot.lineBuffer.end(), bytes, bytes + unit);
      }
    }
  }
  *consumed = cursor - slot.position;
  return S_OK;
}

// Moves the slot past the line and updates its at-end flag.
HRESULT advance(FileSlot& slot, const ChunkSource& source, DWORD consumed) {
  slot.position += consumed;
  if (source.cached()) {
    if (slot.cacheLength >= 0) {
      slot.atEnd = slot.position == static_cast<DWORD>(slot.cacheOffset + slot.cacheLength);
      return S_OK;
    }
    // A full read says nothing about the end: a file that ends exactly where
    // the cache ends would otherwise yield one more, empty, line before EOF
    // (and a settings file of that size would be read as a second group).
    slot.atEnd = false;
    if (slot.position != static_cast<DWORD>(slot.cacheOffset) + slot.bufferCapacity) return S_OK;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(slot.handle.get(), &size)) return E_FAIL;
    slot.atEnd = static_cast<LONGLONG>(slot.position) >= size.QuadPart;
    return S_OK;
  }
  HANDLE handle = slot.handle.get();
  SetFilePointer(handle, static_cast<LONG>(slot.position - consumed), nullptr, FILE_BEGIN);
  SetFilePointer(handle, static_cast<LONG>(consumed), nullptr, FILE_CURRENT);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(handle, &size)) return E_FAIL;
  slot.atEnd = static_cast<LONGLONG>(slot.position) >= size.QuadPart;
  return S_OK;
}

// The line buffer as text of the slot's code page.
HRESULT lineText(const FileSlot& slot, Bstr* text) {
  const std::vector<BYTE>& bytes = slot.lineBuffer;
  if (bytes.empty()) {
    *text = Bstr(std::u16string_view());
    return S_OK;
  }
  if (slot.codePage == CP_UTF16LE) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    *text = Bstr(std::u16string_view(units));
    return S_OK;
  }
  const auto* source = reinterpret_cast<LPCSTR>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(slot.textCodePage(), 0, source, length, nullptr, 0);
  if (needed <= 0) return E_FAIL;
  std::u16string converted(static_cast<size_t>(needed), u'\0');
  MultiByteToWideChar(slot.textCodePage(), 0, source, length, converted.data(), needed);
  *text = Bstr(std::u16string_view(converted));
  return S_OK;
}

}  // namespace

HRESULT LineInput(LONG fileNumber, Bstr* line) {
  FileSlot* slot = OpenFileSlot(fileNumber);
  if (!slot || (slot->mode != FileMode::Input && slot->mode != FileMode::Binary)) return E_FAIL;
  slot->lineBuffer.clear();
  ChunkSource source(*slot);
  DWORD consumed = 0;
  if (HRESULT hr = scanLine(*slot, source, &consumed); FAILED(hr)) return hr;
  if (HRESULT hr = advance(*slot, source, consumed); FAILED(hr)) return hr;
  Bstr text;
  if (HRESULT hr = lineText(*slot, &text); FAILED(hr)) return hr;
  *line = std::move(text);
  return S_OK;
}

}  // namespace rt
