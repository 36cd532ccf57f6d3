// Kernel services: last error, time, code pages, locale, messages, heap,
// files, paths and libraries.
#pragma once

#include "platform/types.h"

// ---------------------------------------------------------------------------
// Last error (per thread) and error codes
// ---------------------------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD error);

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_INVALID_FUNCTION = 1;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_OUTOFMEMORY = 14;
inline constexpr DWORD ERROR_NOT_READY = 21;
inline constexpr DWORD ERROR_WRITE_FAULT = 29;
inline constexpr DWORD ERROR_READ_FAULT = 30;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_LOCK_VIOLATION = 33;
inline constexpr DWORD ERROR_HANDLE_EOF = 38;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_FILE_EXISTS = 80;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_INVALID_NAME = 123;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
inline constexpr DWORD ERROR_DIR_NOT_EMPTY = 145;
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
inline constexpr DWORD ERROR_RESOURCE_LANG_NOT_FOUND = 1815;
inline constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;
inline constexpr DWORD ERROR_INVALID_FLAGS = 1004;
inline constexpr DWORD ERROR_DIRECTORY = 267;
inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
inline constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
inline constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
inline constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
inline constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;

// ---------------------------------------------------------------------------
// Time. Both run on the replaceable clock (platform/clock.h).
// ---------------------------------------------------------------------------
DWORD GetTickCount();
ULONGLONG GetTickCount64();
void Sleep(DWORD milliseconds);

inline constexpr DWORD INFINITE = 0xFFFFFFFF;

// ---------------------------------------------------------------------------
// Code pages. CP_ACP is 1252 on this platform.
// ---------------------------------------------------------------------------
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_THREAD_ACP = 3;
inline constexpr UINT CP_UTF16LE = 1200;
inline constexpr UINT CP_WINDOWS1252 = 1252;
inline constexpr UINT CP_UTF7 = 65000;
inline constexpr UINT CP_UTF8 = 65001;

inline constexpr DWORD MB_PRECOMPOSED = 0x1;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x8;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;

UINT GetACP();
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                        int destLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest,
                        int destLength, LPCSTR defaultChar, BOOL* usedDefaultChar);

// ---------------------------------------------------------------------------
// Locale
// ---------------------------------------------------------------------------
inline constexpr LCTYPE LOCALE_RETURN_NUMBER = 0x20000000;
inline constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
inline constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x00001001;
inline constexpr LCTYPE LOCALE_SLIST = 0x0000000C;
inline constexpr LCTYPE LOCALE_SDECIMAL = 0x0000000E;
inline constexpr LCTYPE LOCALE_STHOUSAND = 0x0000000F;
inline constexpr LCTYPE LOCALE_SGROUPING = 0x00000010;
inline constexpr LCTYPE LOCALE_IDIGITS = 0x00000011;
inline constexpr LCTYPE LOCALE_ILZERO = 0x00000012;
inline constexpr LCTYPE LOCALE_INEGNUMBER = 0x00001010;
inline constexpr LCTYPE LOCALE_SCURRENCY = 0x00000014;
inline constexpr LCTYPE LOCALE_SDATE = 0x0000001D;
inline constexpr LCTYPE LOCALE_STIME = 0x0000001E;
inline constexpr LCTYPE LOCALE_SSHORTDATE = 0x0000001F;
inline constexpr LCTYPE LOCALE_SLONGDATE = 0x00000020;
inline constexpr LCTYPE LOCALE_STIMEFORMAT = 0x00001003;
inline constexpr LCTYPE LOCALE_S1159 = 0x00000028;
inline constexpr LCTYPE LOCALE_S2359 = 0x00000029;
inline constexpr LCTYPE LOCALE_IFIRSTDAYOFWEEK = 0x0000100C;
inline constexpr LCTYPE LOCALE_IFIRSTWEEKOFYEAR = 0x0000100D;
inline constexpr LCTYPE LOCALE_SNAME = 0x0000005C;

// Further locale information (LOCALE_SDAYNAME1 is Monday).
inline constexpr LCTYPE LOCALE_USE_CP_ACP = 0x40000000;
inline constexpr LCTYPE LOCALE_ILANGUAGE = 0x00000001;
inline constexpr LCTYPE LOCALE_SLANGUAGE = 0x00000002;
inline constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x00000003;
inline constexpr LCTYPE LOCALE_SNATIVELANGNAME = 0x00000004;
inline constexpr LCTYPE LOCALE_ICOUNTRY = 0x00000005;
inline constexpr LCTYPE LOCALE_SCOUNTRY = 0x00000006;
inline constexpr LCTYPE LOCALE_SABBREVCTRYNAME = 0x00000007;
inline constexpr LCTYPE LOCALE_SNATIVECTRYNAME = 0x00000008;
inline constexpr LCTYPE LOCALE_IDEFAULTLANGUAGE = 0x00000009;
inline constexpr LCTYPE LOCALE_IDEFAULTCOUNTRY = 0x0000000A;
inline constexpr LCTYPE LOCALE_IDEFAULTCODEPAGE = 0x0000000B;
inline constexpr LCTYPE LOCALE_IMEASURE = 0x0000000D;
inline constexpr LCTYPE LOCALE_SNATIVEDIGITS = 0x00000013;
inline constexpr LCTYPE LOCALE_SINTLSYMBOL = 0x00000015;
inline constexpr LCTYPE LOCALE_SMONDECIMALSEP = 0x00000016;
inline constexpr LCTYPE LOCALE_SMONTHOUSANDSEP = 0x00000017;
inline constexpr LCTYPE LOCALE_SMONGROUPING = 0x00000018;
inline constexpr LCTYPE LOCALE_ICURRDIGITS = 0x00000019;
inline constexpr LCTYPE LOCALE_IINTLCURRDIGITS = 0x0000001A;
inline constexpr LCTYPE LOCALE_ICURRENCY = 0x0000001B;
inline constexpr LCTYPE LOCALE_INEGCURR = 0x0000001C;
inline constexpr LCTYPE LOCALE_IDATE = 0x00000021;
inline constexpr LCTYPE LOCALE_ILDATE = 0x00000022;
inline constexpr LCTYPE LOCALE_ITIME = 0x00000023;
inline constexpr LCTYPE LOCALE_ICENTURY = 0x00000024;
inline constexpr LCTYPE LOCALE_ITLZERO = 0x00000025;
inline constexpr LCTYPE LOCALE_IDAYLZERO = 0x00000026;
inline constexpr LCTYPE LOCALE_IMONLZERO = 0x00000027;
inline constexpr LCTYPE LOCALE_SDAYNAME1 = 0x0000002A;
inline constexpr LCTYPE LOCALE_SDAYNAME2 = 0x0000002B;
inline constexpr LCTYPE LOCALE_SDAYNAME3 = 0x0000002C;
inline constexpr LCTYPE LOCALE_SDAYNAME4 = 0x0000002D;
inline constexpr LCTYPE LOCALE_SDAYNAME5 = 0x0000002E;
inline constexpr LCTYPE LOCALE_SDAYNAME6 = 0x0000002F;
inline constexpr LCTYPE LOCALE_SDAYNAME7 = 0x00000030;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME1 = 0x00000031;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME2 = 0x00000032;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME3 = 0x00000033;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME4 = 0x00000034;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME5 = 0x00000035;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME6 = 0x00000036;
inline constexpr LCTYPE LOCALE_SABBREVDAYNAME7 = 0x00000037;
inline constexpr LCTYPE LOCALE_SMONTHNAME1 = 0x00000038;
inline constexpr LCTYPE LOCALE_SMONTHNAME2 = 0x00000039;
inline constexpr LCTYPE LOCALE_SMONTHNAME3 = 0x0000003A;
inline constexpr LCTYPE LOCALE_SMONTHNAME4 = 0x0000003B;
inline constexpr LCTYPE LOCALE_SMONTHNAME5 = 0x0000003C;
inline constexpr LCTYPE LOCALE_SMONTHNAME6 = 0x0000003D;
inline constexpr LCTYPE LOCALE_SMONTHNAME7 = 0x0000003E;
inline constexpr LCTYPE LOCALE_SMONTHNAME8 = 0x0000003F;
inline constexpr LCTYPE LOCALE_SMONTHNAME9 = 0x00000040;
inline constexpr LCTYPE LOCALE_SMONTHNAME10 = 0x00000041;
inline constexpr LCTYPE LOCALE_SMONTHNAME11 = 0x00000042;
inline constexpr LCTYPE LOCALE_SMONTHNAME12 = 0x00000043;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME1 = 0x00000044;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME2 = 0x00000045;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME3 = 0x00000046;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME4 = 0x00000047;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME5 = 0x00000048;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME6 = 0x00000049;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME7 = 0x0000004A;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME8 = 0x0000004B;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME9 = 0x0000004C;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME10 = 0x0000004D;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME11 = 0x0000004E;
inline constexpr LCTYPE LOCALE_SABBREVMONTHNAME12 = 0x0000004F;
inline constexpr LCTYPE LOCALE_SPOSITIVESIGN = 0x00000050;
inline constexpr LCTYPE LOCALE_SNEGATIVESIGN = 0x00000051;
inline constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x00000059;
inline constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x0000005A;
inline constexpr LCTYPE LOCALE_SSHORTTIME = 0x00000079;
inline constexpr LCTYPE LOCALE_SENGCOUNTRY = 0x00001002;
inline constexpr LCTYPE LOCALE_SENGLISHLANGUAGENAME = 0x00001001;
inline constexpr LCTYPE LOCALE_SENGLISHCOUNTRYNAME = 0x00001002;
inline constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x00001004;
inline constexpr LCTYPE LOCALE_IDEFAULTMACCODEPAGE = 0x00001011;

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LCID GetThreadLocale();
int GetLocaleInfoA(LCID lcid, LCTYPE type, LPSTR data, int size);
int GetLocaleInfoW(LCID lcid, LCTYPE type, LPWSTR data, int size);

inline constexpr int CSTR_LESS_THAN = 1;
inline constexpr int CSTR_EQUAL = 2;
inline constexpr int CSTR_GREATER_THAN = 3;

// Comparison flags beyond the NORM_* ones in platform/oleauto.h.
inline constexpr DWORD LINGUISTIC_IGNORECASE = 0x00000010;
inline constexpr DWORD LINGUISTIC_IGNOREDIACRITIC = 0x00000020;
inline constexpr DWORD SORT_STRINGSORT = 0x00001000;
inline constexpr DWORD NORM_LINGUISTIC_CASING = 0x08000000;

// Returns CSTR_*; 0 with GetLastError set on bad arguments. A length of -1
// means NUL-terminated.
int CompareStringW(LCID lcid, DWORD flags, LPCWSTR left, int leftLength, LPCWSTR right,
                   int rightLength);

// ---------------------------------------------------------------------------
// Messages
// ---------------------------------------------------------------------------
inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x00000100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_STRING = 0x00000400;
inline constexpr DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
inline constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;
inline constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;

// With FORMAT_MESSAGE_ALLOCATE_BUFFER, buffer is really an LPWSTR* that
// receives a LocalAlloc'd text. Returns the length written, 0 when the
// system has no text for the identifier (GetLastError: ERROR_MR_MID_NOT_FOUND).
// arguments, when inserts are used, is always read as an array of DWORD_PTR
// values (as with FORMAT_MESSAGE_ARGUMENT_ARRAY); a va_list is not accepted.
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPWSTR buffer,
                     DWORD size, void* arguments);

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL LocalFree(HLOCAL memory);
inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;

// ---------------------------------------------------------------------------
// Heap
// ---------------------------------------------------------------------------
inline constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);

// ---------------------------------------------------------------------------
// Error codes of files, paths and devices
// ---------------------------------------------------------------------------
inline constexpr DWORD ERROR_NOT_SAME_DEVICE = 17;
inline constexpr DWORD ERROR_WRITE_PROTECT = 19;
inline constexpr DWORD ERROR_GEN_FAILURE = 31;
inline constexpr DWORD ERROR_BAD_NETPATH = 53;
inline constexpr DWORD ERROR_SEEK_ON_DEVICE = 132;
inline constexpr DWORD ERROR_BUSY = 170;
inline constexpr DWORD ERROR_FILE_TOO_LARGE = 223;
inline constexpr DWORD ERROR_NOACCESS = 998;
inline constexpr DWORD ERROR_IO_DEVICE = 1117;
inline constexpr DWORD ERROR_CANT_RESOLVE_FILENAME = 1921;

namespace platform {
// The last-error code that stands for a POSIX errno value. ENOENT maps to
// ERROR_FILE_NOT_FOUND; callers that know the path tell a missing folder
// (ERROR_PATH_NOT_FOUND) apart themselves.
DWORD Win32ErrorFromErrno(int error);
}  // namespace platform

// ---------------------------------------------------------------------------
// Files. Handles come from a table with generations: a closed or forged
// handle fails with ERROR_INVALID_HANDLE and never reaches a freed object.
// Share modes hold between all handles of this process and, through advisory
// locks, between processes that use this platform.
// ---------------------------------------------------------------------------
inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD GENERIC_EXECUTE = 0x20000000;
inline constexpr DWORD GENERIC_ALL = 0x10000000;
inline constexpr DWORD FILE_READ_DATA = 0x0001;
inline constexpr DWORD FILE_WRITE_DATA = 0x0002;
inline constexpr DWORD FILE_APPEND_DATA = 0x0004;

inline constexpr DWORD FILE_SHARE_READ = 0x00000001;
inline constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
inline constexpr DWORD FILE_SHARE_DELETE = 0x00000004;

inline constexpr DWORD CREATE_NEW = 1;
inline constexpr DWORD CREATE_ALWAYS = 2;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD TRUNCATE_EXISTING = 5;

inline constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
inline constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
inline constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
inline constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_CURRENT = 1;
inline constexpr DWORD FILE_END = 2;
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Handles are synchronous: an OVERLAPPED only gives the file offset of the
// transfer, and the call completes before it returns.
struct OVERLAPPED {
  ULONG_PTR Internal;
  ULONG_PTR InternalHigh;
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;
using LPDWORD = DWORD*;
using PLONG = LONG*;
using PLARGE_INTEGER = LARGE_INTEGER*;

// Of flagsAndAttributes only FILE_ATTRIBUTE_READONLY has an effect (a new
// file gets no write permission); security attributes and the template are
// ignored. A file without any write permission bit is read-only: it refuses
// writers and DeleteFileW, the superuser included.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod);
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER fileSize);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
BOOL CloseHandle(HANDLE object);
BOOL DeleteFileW(LPCWSTR fileName);
DWORD GetFileAttributesW(LPCWSTR fileName);

// ---------------------------------------------------------------------------
// Paths. The POSIX tree is drive Z: (Z:\home\me is /home/me); no other drive
// and no network share exists for the file functions. Full path names are
// computed textually against the process's current directory, which starts
// as the real working directory.
// ---------------------------------------------------------------------------
inline constexpr DWORD MAX_PATH = 260;

DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart);
DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer);
BOOL SetCurrentDirectoryW(LPCWSTR pathName);

// ---------------------------------------------------------------------------
// Modules and libraries. The libraries are this platform's own (kernel32,
// user32, gdi32, ...), built into the executable: LoadLibraryW finds them by
// name and counts references; nothing is ever loaded from disk. Their exports
// are described in platform/libraries.h.
// ---------------------------------------------------------------------------
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
HMODULE GetModuleHandleA(LPCSTR moduleName);
HMODULE LoadLibraryW(LPCWSTR fileName);
HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// ---------------------------------------------------------------------------
// Strings
// ---------------------------------------------------------------------------
int lstrlenW(LPCWSTR text);
int lstrlenA(LPCSTR text);

// number * numerator / denominator through a 64-bit product, rounded half
// away from zero; -1 when the denominator is 0 or the result does not fit.
int MulDiv(int number, int numerator, int denominator);
