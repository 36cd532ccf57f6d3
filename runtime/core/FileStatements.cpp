#include "runtime/core/FileStatements.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "runtime/core/ErrorObject.h"
#include "runtime/core/FileTable.h"
#include "runtime/core/LongPathForm.h"
#include "runtime/core/Status.h"
#include "runtime/core/internal/ArgumentValue.h"

namespace rt {
namespace {

constexpr LONG kMaxRecordLength = 32767;
// Input files read through a larger buffer than their records.
constexpr DWORD kInputBufferSize = 4096;
constexpr LONG kSmallRecordLength = 256;
// What the language's Open For Input and For Output statements pass.
constexpr LONG kStatementRecordLength = 128;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

constexpr std::array<BYTE, 3> kUtf8Mark = {0xEF, 0xBB, 0xBF};
constexpr std::array<BYTE, 2> kUtf16Mark = {0xFF, 0xFE};
constexpr std::array<BYTE, 3> kUtf7Mark = {0x2B, 0x2F, 0x76};

// The byte-order mark of a code page; empty when it has none.
std::span<const BYTE> byteOrderMarkOf(UINT codePage) {
  switch (codePage) {
    case CP_UTF8:
      return kUtf8Mark;
    case CP_UTF16LE:
      return kUtf16Mark;
    case CP_UTF7:
      return kUtf7Mark;
  }
  return {};
}

// CreateFileW; with the fall-back flag, a failed read-write open tries write
// only and then read only. `granted` receives the access that succeeded.
FileHandle createFile(const std::u16string& path, DWORD access, DWORD share, DWORD creation,
                      DWORD openFlags, DWORD* granted) {
  auto attempt = [&](DWORD tried) {
    *granted = tried;
    return FileHandle(
        CreateFileW(path.c_str(), tried, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  FileHandle handle = attempt(access);
  const bool fallsBack =
      (openFlags & kOpenFallBackToNarrowerAccess) && access == (GENERIC_READ | GENERIC_WRITE);
  if (handle.valid() || !fallsBack) return handle;
  handle = attempt(GENERIC_WRITE);
  if (handle.valid()) return handle;
  return attempt(GENERIC_READ);
}

DWORD bufferCapacityFor(FileMode mode, LONG recordLength, DWORD openFlags) {
  if (openFlags & kOpenUnbuffered) return 1;
  if (mode == FileMode::Input && recordLength < kSmallRecordLength) return kInputBufferSize;
  return static_cast<DWORD>(recordLength);
}

bool writeMark(FileSlot& slot, std::span<const BYTE> mark) {
  DWORD written = 0;
  const DWORD length = static_cast<DWORD>(mark.size());
  return WriteFile(slot.handle.get(), mark.data(), length, &written, nullptr) && written == length;
}

bool readMark(FileSlot& slot, std::span<const BYTE> mark) {
  std::array<BYTE, 3> read{};
  DWORD count = 0;
  const DWORD length = static_cast<DWORD>(mark.size());
  if (!ReadFile(slot.handle.get(), read.data(), length, &count, nullptr)) return false;
  return count == length && std::equal(mark.begin(), mark.end(), read.begin());
}

enum class MarkAction { None, Write, Compare };

MarkAction markActionFor(FileMode mode, bool empty, DWORD granted) {
  const bool reads = granted & GENERIC_READ;
  const bool writes = granted & GENERIC_WRITE;
  switch (mode) {
    case FileMode::Output:
      return MarkAction::Write;
    case FileMode::Input:
      return MarkAction::Compare;
    case FileMode::Append:
      if (empty) return MarkAction::Write;
      return reads ? MarkAction::Compare : MarkAction::None;
    case FileMode::Random:
    case FileMode::Binary:
      if (empty) return writes ? MarkAction::Write : MarkAction::None;
      return reads ? MarkAction::Compare : MarkAction::None;
  }
  return MarkAction::None;
}

// Writes or checks the mark of the slot's code page; false when the code page
// has none, the mark is not there, or it could not be written.
bool handleByteOrderMark(FileSlot& slot, bool empty, DWORD granted) {
  std::span<const BYTE> mark = byteOrderMarkOf(slot.codePage);
  if (mark.empty()) return false;
  bool done = false;
  switch (markActionFor(slot.mode, empty, granted)) {
    case MarkAction::None:
      return true;
    case MarkAction::Write:
      done = writeMark(slot, mark);
      break;
    case MarkAction::Compare:
      done = readMark(slot, mark);
      break;
  }
  if (!done) return false;
  slot.byteOrderMarkLength = static_cast<DWORD>(mark.size());
  slot.position = slot.byteOrderMarkLength;
  return true;
}

bool moveToEnd(FileSlot& slot) {
  SetLastError(ERROR_SUCCESS);
  const DWORD end = SetFilePointer(slot.handle.get(), 0, nullptr, FILE_END);
  if (end == INVALID_SET_FILE_POINTER && GetLastError() != ERROR_SUCCESS) return false;
  slot.position = end;
  return true;
}

// A 32-bit range number from FreeFile's argument.
HRESULT rangeNumberOf(const VARIANT* argument, LONG* range, int depth = 0) {
  if (internal::IsMissingArgument(argument)) {
    *range = 0;
    return S_OK;
  }
  if (argument->vt == VT_I4) {
    *range = argument->lVal;
    return S_OK;
  }
  if (argument->vt == (VT_I4 | VT_BYREF)) {
    *range = argument->plVal ? *argument->plVal : 0;
    return S_OK;
  }
  if (internal::IsNullObject(*argument)) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  if ((argument->vt & ~VT_BYREF) == VT_NULL) {
    return SetErrorFromStatus(ErrorStatus(err::InvalidUseOfNull));
  }
  if (internal::IsObject(*argument) && depth == 0) {
    Variant value;
    if (FAILED(internal::DefaultValueOf(*argument, DISPATCH_PROPERTYGET, &value))) return E_FAIL;
    return rangeNumberOf(&value, range, depth + 1);
  }
  Variant converted;
  if (FAILED(VariantChangeTypeEx(converted.out(), argument, GetUserDefaultLCID(), 0, VT_I4))) {
    return E_FAIL;
  }
  *range = converted.lVal;
  return S_OK;
}

}  // namespace

HRESULT OpenFile(std::u16string_view path, LONG fileNumber, LONG recordLength, DWORD access,
                 DWORD share, DWORD creation, DWORD openFlags, FileMode mode, DWORD encoding) {
  FileTable* files = FileTable::Get();
  FileSlot* target = files ? files->slot(fileNumber) : nullptr;
  if (!target || !target->isFree()) return E_FAIL;
  if (recordLength < 1 || recordLength > kMaxRecordLength) return E_FAIL;
  std::u16string longPath;
  if (HRESULT hr = LongPathForm(path, &longPath); FAILED(hr)) return hr;

  // The slot is built aside and only installed once everything succeeded, so
  // a failure anywhere closes the file, frees the buffer and leaves the
  // number free.
  FileSlot slot;
  DWORD granted = access;
  slot.handle = createFile(longPath, access, share, creation, openFlags, &granted);
  if (!slot.handle.valid()) return E_FAIL;
  slot.openFlags = openFlags;
  slot.bufferCapacity = bufferCapacityFor(mode, recordLength, openFlags);
  if (!(openFlags & kOpenUnbuffered)) slot.buffer.resize(slot.bufferCapacity);
  slot.mode = mode;
  slot.codePage = encoding & kEncodingCodePageMask;
  slot.format = &PrintFormatTable::ForCodePage(slot.codePage);
  LARGE_INTEGER size{};
  const bool empty = GetFileSizeEx(slot.handle.get(), &size) && size.QuadPart == 0;
  slot.atEnd = mode == FileMode::Output || (mode == FileMode::Input && empty);

  if ((encoding & kEncodingByteOrderMark) && !handleByteOrderMark(slot, empty, granted)) {
    return E_FAIL;
  }
  if ((openFlags & kOpenAtEnd) && !moveToEnd(slot)) return E_FAIL;
  *target = std::move(slot);
  return S_OK;
}

HRESULT OpenForInput(std::u16string_view path, LONG fileNumber) {
  return OpenFile(path, fileNumber, kStatementRecordLength, GENERIC_READ, kShareReadWrite,
                  OPEN_EXISTING, kOpenFallBackToNarrowerAccess, FileMode::Input, 0);
}

HRESULT OpenForOutput(std::u16string_view path, LONG fileNumber) {
  return OpenFile(path, fileNumber, kStatementRecordLength, GENERIC_WRITE, kShareReadWrite,
                  CREATE_ALWAYS, kOpenFallBackToNarrowerAccess, FileMode::Output, 0);
}

HRESULT FileEof(LONG fileNumber, VARIANT_BOOL* atEnd) {
  FileSlot* slot = OpenFileSlot(fileNumber);
  if (!slot) return E_FAIL;
  *atEnd = slot->atEnd ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT CloseFile(LONG fileNumber) {
  FileTable* files = FileTable::Get();
  FileSlot* slot = files ? files->slot(fileNumber) : nullptr;
  if (!slot) return E_FAIL;
  if (slot->isFree()) return S_OK;
  HRESULT hr = S_OK;
  if (slot->mode != FileMode::Random) hr = FlushFileBuffer(*slot);
  if (!slot->handle.close()) hr = E_FAIL;
  *slot = FileSlot();
  return hr;
}

HRESULT FreeFileNumber(const VARIANT* rangeNumber, SHORT* fileNumber) {
  LONG range = 0;
  if (HRESULT hr = rangeNumberOf(rangeNumber, &range); FAILED(hr)) return hr;
  FileTable* files = FileTable::Get();
  if (!files) return E_FAIL;
  const LONG first = range == 0 ? 1 : 256;
  const LONG last = range == 0 ? 255 : FileTable::kSlotCount;
  for (LONG number = first; number <= last; ++number) {
    if (files->slot(number)->isFree()) {
      *fileNumber = static_cast<SHORT>(number);
      return S_OK;
    }
  }
  return E_FAIL;
}

}  // namespace rt
