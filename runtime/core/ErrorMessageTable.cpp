#include "runtime/core/ErrorMessageTable.h"

#include <mutex>

#include "platform/kernel.h"

namespace rt {
namespace {

// The 87 messages as consecutive NUL-terminated strings in ascending number
// order; the first has number 3.
constexpr char kPackedMessages[] =
    "Return without GoSub\0"
    "Invalid procedure call or argument\0"
    "Overflow\0"
    "Out of memory\0"
    "Subscript out of range\0"
    "This array is fixed or temporarily locked\0"
    "Division by zero\0"
    "Type mismatch\0"
    "Out of string space\0"
    "Expression too complex\0"
    "Can't perform requested operation\0"
    "User interrupt occurred\0"
    "Resume without error\0"
    "Out of stack space\0"
    "Sub or Function not defined\0"
    "Too many DLL application clients\0"
    "Error in loading DLL\0"
    "Bad DLL calling convention\0"
    "Internal error\0"
    "Bad file name or number\0"
    "File not found\0"
    "Bad file mode\0"
    "File already open\0"
    "Device I/O error\0"
    "File already exists\0"
    "Bad record length\0"
    "Disk full\0"
    "Input past end of file\0"
    "Bad record number\0"
    "Too many files\0"
    "Device unavailable\0"
    "Permission denied\0"
    "Disk not ready\0"
    "Can't rename with different drive\0"
    "Path/File access error\0"
    "Path not found\0"
    "Object variable or With block variable not set\0"
    "For loop not initialized\0"
    "Invalid pattern string\0"
    "Invalid use of Null\0"
    "Unable to sink events of object because the object is already firing events to the maximum "
    "number of event receivers that it supports\0"
    "Can not call friend function on object which is not an instance of defining class\0"
    "A property or method call cannot include a reference to a private object, either as an "
    "argument or as a return value\0"
    "Invalid file format\0"
    "Can't create necessary temporary file\0"
    "Invalid format in resource file\0"
    "Invalid property value\0"
    "Invalid property array index\0"
    "Set not supported at runtime\0"
    "Set not supported (read-only property)\0"
    "Need property array index\0"
    "Set not permitted\0"
    "Get not supported at runtime\0"
    "Get not supported (write-only property)\0"
    "Property not found\0"
    "Property or method not found\0"
    "Object required\0"
    "ActiveX component can't create object\0"
    "Class does not support Automation or does not support expected interface\0"
    "File name or class name not found during Automation operation\0"
    "Object doesn't support this property or method\0"
    "Automation error\0"
    "Connection to type library or object library for remote process has been lost. Press OK "
    "for dialog to remove reference.\0"
    "Automation object does not have a default value\0"
    "Object doesn't support this action\0"
    "Object doesn't support named arguments\0"
    "Object doesn't support current locale setting\0"
    "Named argument not found\0"
    "Argument not optional\0"
    "Wrong number of arguments or invalid property assignment\0"
    "Property let procedure not defined and property get procedure did not return an object\0"
    "Invalid ordinal\0"
    "Specified DLL function not found\0"
    "Code resource not found\0"
    "Code resource lock error\0"
    "This key is already associated with an element of this collection\0"
    "Variable uses an Automation type not supported in Quorell\0"
    "Object or class does not support the set of events\0"
    "Invalid clipboard format\0"
    "Method or data member not found\0"
    "The remote server machine does not exist or is unavailable\0"
    "Class not registered on local machine\0"
    "Invalid picture\0"
    "Printer error\0"
    "Can't save file to TEMP\0"
    "Search text not found\0"
    "Replacements too long\0";

// Number increments parallel to the messages: the number of each message is
// the previous number plus its increment; a zero increment ends the list.
constexpr unsigned char kNumberIncrements[] = {
    2, 1, 1, 2, 1, 1, 2,  1, 2, 1, 1, 2, 8, 7,   12, 1, 1,  2, 1, 1, 1, 1, 2, 1,  1,  2,   1, 1, 4,
    1, 2, 1, 3, 1, 1, 15, 1, 1, 1, 2, 1, 1, 223, 1,  3, 55, 1, 1, 1, 2, 2, 6, 1,  28, 1,   1, 5, 1,
    2, 6, 2, 2, 1, 2, 1,  1, 1, 1, 1, 1, 1, 1,   1,  1, 2,  1, 1, 1, 1, 1, 1, 18, 1,  253, 9, 2, 0};

struct Table {
  std::once_flag built;
  char16_t* entries[kErrorMessageCount] = {};
};

Table& table() {
  static Table t;
  return t;
}

// Converts one message into its own heap block; null when the heap fails.
char16_t* convert(const char* message) {
  int length = MultiByteToWideChar(CP_ACP, 0, message, -1, nullptr, 0);
  if (length <= 0) return nullptr;
  auto* block = static_cast<char16_t*>(
      HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(length) * sizeof(char16_t)));
  if (!block) return nullptr;
  MultiByteToWideChar(CP_ACP, 0, message, -1, block, length);
  return block;
}

void build(Table& t) {
  const char* message = kPackedMessages;
  int number = 3;
  for (unsigned char increment : kNumberIncrements) {
    if (number < kErrorMessageCount) t.entries[number] = convert(message);
    if (increment == 0) break;
    while (*message)
      ++message;
    ++message;
    number += increment;
  }
}

}  // namespace

HRESULT BuildErrorMessageTable() {
  Table& t = table();
  std::call_once(t.built, build, t);
  return S_OK;
}

const char16_t* ErrorMessage(int number) {
  if (number < 1 || number >= kErrorMessageCount) return nullptr;
  BuildErrorMessageTable();
  return table().entries[number];
}

}  // namespace rt
