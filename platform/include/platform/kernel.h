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
inline constexpr DWORD FORMAT_MESSAGE_MAX_WIDTH_MASK = 0x000000FF;

// With FORMAT_MESSAGE_ALLOCATE_BUFFER, buffer is really an LPWSTR* that
// receives a LocalAlloc'd text. Returns the length written, 0 when the
// system has no text for the identifier (GetLastError: ERROR_MR_MID_NOT_FOUND).
DWORD FormatMessageW(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId,
                     LPWSTR buffer, DWORD size, void* arguments);

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
