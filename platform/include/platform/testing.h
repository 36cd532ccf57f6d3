// Test support for the kernel services: a simulated full disk, a current
// directory on any drive, a chosen executable path, and counters that show
// leaks of handles and library references.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// ---------------------------------------------------------------------------
// Disk space
// ---------------------------------------------------------------------------

// With full set, WriteFile on any file writes nothing and fails with
// ERROR_DISK_FULL; clearing it ends the simulation.
void SimulateDiskFull(bool full);

// From now on only `bytes` more bytes fit: WriteFile writes what fits, reports
// that count and fails with ERROR_DISK_FULL. SimulateDiskFull(false) ends it.
void SimulateFreeDiskSpace(uint64_t bytes);

class ScopedDiskFull {
 public:
  explicit ScopedDiskFull(uint64_t freeBytes = 0) { SimulateFreeDiskSpace(freeBytes); }
  ~ScopedDiskFull() { SimulateDiskFull(false); }
  ScopedDiskFull(const ScopedDiskFull&) = delete;
  ScopedDiskFull& operator=(const ScopedDiskFull&) = delete;
};

// The number of kernel handles currently open (files and other objects).
size_t OpenKernelHandleCount();

// ---------------------------------------------------------------------------
// Current directory
// ---------------------------------------------------------------------------

// The current directory as GetCurrentDirectoryW gives it.
std::u16string CurrentDirectoryText();

// Sets the current directory to a full path without looking at the disk, so a
// test can work in a folder such as C:\Work that exists on no drive.
void SetCurrentDirectoryText(std::u16string_view fullPath);

class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(std::u16string_view fullPath) : saved_(CurrentDirectoryText()) {
    SetCurrentDirectoryText(fullPath);
  }
  ~ScopedCurrentDirectory() { SetCurrentDirectoryText(saved_); }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::u16string saved_;
};

// ---------------------------------------------------------------------------
// Modules
// ---------------------------------------------------------------------------

// Makes GetModuleFileNameW report `path` (a full path such as C:\Tools\app.exe)
// as the executable's name; an empty path restores the real one.
void SetModuleFileNameOverride(std::u16string_view path);

class ScopedModuleFileName {
 public:
  explicit ScopedModuleFileName(std::u16string_view path) { SetModuleFileNameOverride(path); }
  ~ScopedModuleFileName() { SetModuleFileNameOverride({}); }
  ScopedModuleFileName(const ScopedModuleFileName&) = delete;
  ScopedModuleFileName& operator=(const ScopedModuleFileName&) = delete;
};

// References LoadLibraryW has taken on a library and FreeLibrary not yet
// released; -1 for a handle that is not one of the platform's libraries.
int LibraryReferenceCount(HMODULE module);

}  // namespace platform
