#include "internal/SystemMessages.h"

#include <algorithm>
#include <iterator>

namespace platform::internal {
namespace {

struct SystemMessage {
  DWORD id;
  const char16_t* text;
};

// Sorted by identifier. Texts are the platform's own English message texts.
constexpr SystemMessage kMessages[] = {
    // Win32 error codes
    {0, u"The operation completed successfully."},
    {1, u"Incorrect function."},
    {2, u"The system cannot find the file specified."},
    {3, u"The system cannot find the path specified."},
    {4, u"The system cannot open the file."},
    {5, u"Access is denied."},
    {6, u"The handle is invalid."},
    {8, u"Not enough memory resources are available to process this command."},
    {14, u"Not enough storage is available to complete this operation."},
    {21, u"The device is not ready."},
    {29, u"The system cannot write to the specified device."},
    {30, u"The system cannot read from the specified device."},
    {32, u"The process cannot access the file because it is being used by another process."},
    {33,
     u"The process cannot access the file because another process has locked a portion of "
     u"the file."},
    {38, u"Reached the end of the file."},
    {50, u"The request is not supported."},
    {80, u"The file exists."},
    {87, u"The parameter is incorrect."},
    {112, u"There is not enough space on the disk."},
    {122, u"The data area passed to a system call is too small."},
    {123, u"The filename, directory name, or volume label syntax is incorrect."},
    {126, u"The specified module could not be found."},
    {127, u"The specified procedure could not be found."},
    {131, u"An attempt was made to move the file pointer before the beginning of the file."},
    {145, u"The directory is not empty."},
    {183, u"Cannot create a file when that file already exists."},
    {206, u"The filename or extension is too long."},
    {267, u"The directory name is invalid."},
    {317,
     u"The system cannot find message text for message number 0x%1 in the message file for "
     u"%2."},
    {1004, u"Invalid flags."},
    {1113, u"No mapping for the Unicode character exists in the target multi-byte code page."},
    {1400, u"Invalid window handle."},
    {1407, u"Cannot find window class."},
    {1410, u"Class already exists."},
    {1411, u"Class does not exist."},
    {1412, u"Class still has open windows."},
    {1815, u"The specified resource language ID cannot be found in the image file."},
    // Generic statuses
    {0x8000000A, u"The data necessary to complete this operation is not yet available."},
    {0x80004001, u"Not implemented"},
    {0x80004002, u"No such interface supported"},
    {0x80004003, u"Invalid pointer"},
    {0x80004004, u"Operation aborted"},
    {0x80004005, u"Unspecified error"},
    {0x8000FFFF, u"Catastrophic failure"},
    // Dispatch statuses
    {0x80020001, u"Unknown interface."},
    {0x80020003, u"Member not found."},
    {0x80020004, u"Parameter not found."},
    {0x80020005, u"Type mismatch."},
    {0x80020006, u"Unknown name."},
    {0x80020007, u"No named arguments."},
    {0x80020008, u"Bad variable type."},
    {0x80020009, u"Exception occurred."},
    {0x8002000A, u"Out of present range."},
    {0x8002000B, u"Invalid index."},
    {0x8002000C, u"Unknown language."},
    {0x8002000D, u"Memory is locked."},
    {0x8002000E, u"Invalid number of parameters."},
    {0x8002000F, u"Parameter not optional."},
    {0x80020010, u"Invalid callee."},
    {0x80020011, u"Does not support a collection."},
    {0x80020012, u"Division by zero."},
    {0x8002801D, u"Library not registered."},
    {0x8002802B, u"Element not found."},
    // Interface statuses. 0x80040200 and 0x80040202 (CONNECT_E_NOCONNECTION,
    // CONNECT_E_CANNOTCONNECT) have no system text; 0x80040201
    // (CONNECT_E_ADVISELIMIT) shares its value with an event status.
    {0x80040110, u"Class does not support aggregation (or class object is remote)"},
    {0x80040111, u"ClassFactory cannot supply requested class"},
    {0x80040112, u"Class is not licensed for use"},
    {0x80040154, u"Class not registered"},
    {0x80040155, u"Interface not registered"},
    {0x800401F0, u"CoInitialize has not been called."},
    {0x800401F1, u"CoInitialize has already been called."},
    {0x800401F3, u"Invalid class string"},
    {0x800401F4, u"Invalid interface string"},
    {0x80040201, u"An event was unable to invoke any of the subscribers"},
};

constexpr DWORD kWin32Facility = 0x80070000;

}  // namespace

const char16_t* FindSystemMessage(DWORD id) {
  if ((id & 0xFFFF0000) == kWin32Facility) id &= 0xFFFF;
  auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                             [](const SystemMessage& m, DWORD key) { return m.id < key; });
  if (it == std::end(kMessages) || it->id != id) return nullptr;
  return it->text;
}

}  // namespace platform::internal
