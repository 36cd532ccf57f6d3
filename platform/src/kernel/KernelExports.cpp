// The exports of kernel32 kept in this folder, and user32's message boxes.
#include "internal/LibraryRegistry.h"
#include "platform/kernel.h"
#include "platform/libraries.h"
#include "platform/user.h"

namespace platform::internal {

void AddBuiltInExports(LibraryRegistry& registry) {
  const ExportedProc kernel32[] = {
      Export("CloseHandle", &CloseHandle),
      Export("CreateFileW", &CreateFileW),
      Export("DeleteFileW", &DeleteFileW),
      Export("FlushFileBuffers", &FlushFileBuffers),
      Export("FreeLibrary", &FreeLibrary),
      Export("GetACP", &GetACP),
      Export("GetCurrentDirectoryW", &GetCurrentDirectoryW),
      Export("GetFileAttributesW", &GetFileAttributesW),
      Export("GetFileSize", &GetFileSize),
      Export("GetFileSizeEx", &GetFileSizeEx),
      Export("GetFullPathNameW", &GetFullPathNameW),
      Export("GetLastError", &GetLastError),
      Export("GetModuleFileNameW", &GetModuleFileNameW),
      Export("GetModuleHandleA", &GetModuleHandleA),
      Export("GetModuleHandleW", &GetModuleHandleW),
      Export("GetProcAddress", &GetProcAddress),
      Export("GetProcessHeap", &GetProcessHeap),
      Export("GetTickCount", &GetTickCount),
      Export("GetTickCount64", &GetTickCount64),
      Export("HeapAlloc", &HeapAlloc),
      Export("HeapFree", &HeapFree),
      Export("HeapReAlloc", &HeapReAlloc),
      Export("LoadLibraryA", &LoadLibraryA),
      Export("LoadLibraryW", &LoadLibraryW),
      Export("LocalAlloc", &LocalAlloc),
      Export("LocalFree", &LocalFree),
      Export("MultiByteToWideChar", &MultiByteToWideChar),
      Export("ReadFile", &ReadFile),
      Export("SetCurrentDirectoryW", &SetCurrentDirectoryW),
      Export("SetEndOfFile", &SetEndOfFile),
      Export("SetFilePointer", &SetFilePointer),
      Export("SetLastError", &SetLastError),
      Export("Sleep", &Sleep),
      Export("WideCharToMultiByte", &WideCharToMultiByte),
      Export("WriteFile", &WriteFile),
      Export("lstrlenA", &lstrlenA),
      Export("lstrlenW", &lstrlenW),
  };
  registry.add("kernel32", kernel32);

  const ExportedProc user32[] = {
      Export("MessageBoxA", &MessageBoxA),
      Export("MessageBoxIndirectW", &MessageBoxIndirectW),
      Export("MessageBoxW", &MessageBoxW),
  };
  registry.add("user32", user32);
}

}  // namespace platform::internal
