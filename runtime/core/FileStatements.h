// The language's file statements on numbered files: Open, EOF, Close and
// FreeFile. Line Input and Print # have their own files. Every failure is
// E_FAIL (0x80004005), which compiled code raises at its own site; only
// FreeFile's argument fails with other errors (91 and 94).
//
// Not provided: Write #, the print zones of Print # (comma separators), and
// the record statements Get, Put and Seek.
#pragma once

#include <string_view>

#include "platform/oleauto.h"
#include "runtime/core/FileSlot.h"

namespace rt {

// Open path As #fileNumber. `access`, `share` and `creation` are CreateFileW's
// desired access, share mode and creation disposition; `openFlags` takes the
// kOpen* bits and `encoding` a code page (0 for ANSI) in bits 0-15 plus
// kEncodingByteOrderMark. A failed Open leaves the number free.
HRESULT OpenFile(std::u16string_view path, LONG fileNumber, LONG recordLength, DWORD access,
                 DWORD share, DWORD creation, DWORD openFlags, FileMode mode, DWORD encoding);

// Open path For Input As #fileNumber: the file must exist.
HRESULT OpenForInput(std::u16string_view path, LONG fileNumber);
// Open path For Output As #fileNumber: created, or emptied when it exists.
HRESULT OpenForOutput(std::u16string_view path, LONG fileNumber);

// EOF(fileNumber): VARIANT_TRUE once reading has reached the end.
HRESULT FileEof(LONG fileNumber, VARIANT_BOOL* atEnd);

// Close #fileNumber: writes what is buffered (not in Random mode), closes the
// file and frees the number. Closing a free number does nothing. E_FAIL when
// the buffered bytes could not be written; the file is closed all the same.
HRESULT CloseFile(LONG fileNumber);

// FreeFile(rangeNumber): the lowest free number of 1 to 255 when the range is
// missing or 0, else of 256 to 512. E_FAIL when all are in use; a null object
// is error 91 and Null error 94.
HRESULT FreeFileNumber(const VARIANT* rangeNumber, SHORT* fileNumber);

}  // namespace rt
