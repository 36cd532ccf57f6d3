// One numbered file of the language: its handle, its buffer, its read cache
// and the bookkeeping of the Print and Line Input statements.
#pragma once

#include <span>
#include <vector>

#include "runtime/core/FileHandle.h"
#include "runtime/core/PrintFormatTable.h"

namespace rt {

enum class FileMode : BYTE {
  Input = 1,
  Output = 2,
  Random = 4,
  Append = 8,
  Binary = 32,
};

// Bits of Open's openFlags.
inline constexpr DWORD kOpenFallBackToNarrowerAccess = 0x1;
inline constexpr DWORD kOpenAtEnd = 0x2;
inline constexpr DWORD kOpenUnbuffered = 0x4;

// Bits of Open's encoding besides the code page in bits 0-15.
inline constexpr DWORD kEncodingCodePageMask = 0xFFFF;
inline constexpr DWORD kEncodingByteOrderMark = 0x80000000;

struct FileSlot;

// The buffered writer every slot writes through.
using FileWriteRoutine = HRESULT (*)(FileSlot& slot, std::span<const BYTE> bytes, bool noWrap);

// A free slot holds no handle. Moving a fresh slot over a used one closes its
// handle and frees its buffers.
struct FileSlot {
  FileHandle handle;
  // Byte position in the file of the next read or write, as far as the slot knows.
  DWORD position = 0;
  DWORD openFlags = 0;
  DWORD bufferCapacity = 0;
  // Empty for an unbuffered file.
  std::vector<BYTE> buffer;
  // Bytes waiting in the buffer to be written.
  DWORD bufferedCount = 0;
  // Bytes written since the last line break, for line-width wrapping.
  DWORD column = 0;
  DWORD reserved1 = 0;
  // 0: no wrapping.
  DWORD lineWidth = 0;
  DWORD reserved2 = 0;
  FileMode mode = FileMode::Input;
  bool atEnd = false;
  BYTE reserved3 = 0;
  // 0 for the ANSI code page.
  UINT codePage = 0;
  // File offset of the first cached byte; -1 when the cache is empty.
  LONG cacheOffset = -1;
  // Bytes valid in the cache; -1 after a full buffer was read.
  LONG cacheLength = -1;
  // 0, 2 or 3.
  DWORD byteOrderMarkLength = 0;
  const PrintFormatTable* format = &PrintFormatTable::Narrow();
  // Where Line Input assembles a line.
  std::vector<BYTE> lineBuffer;
  FileWriteRoutine write;

  FileSlot();

  bool isFree() const { return !handle.valid(); }
  // The code page texts are converted with (CP_ACP for 0).
  UINT textCodePage() const { return codePage == 0 ? CP_ACP : codePage; }
};

// Appends bytes to the slot's buffer, writing it out when full. Unless noWrap
// is set, a write that would run past a non-zero line width starts a new line
// first. Fails with E_FAIL when the system writes less than asked.
HRESULT WriteBytes(FileSlot& slot, std::span<const BYTE> bytes, bool noWrap);

// Writes the buffered bytes and empties the buffer (also after a failure:
// bytes the disk refused are not tried again).
HRESULT FlushFileBuffer(FileSlot& slot);

}  // namespace rt
