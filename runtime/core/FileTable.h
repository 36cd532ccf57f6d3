// The process-wide table of numbered files: file number n (1 to 512) uses
// slot n - 1. Created by a start-up step and kept for the whole process.
#pragma once

#include <array>

#include "runtime/core/FileSlot.h"

namespace rt {

class FileTable {
 public:
  static constexpr LONG kSlotCount = 512;

  // The start-up step that sets up the table: creates it with every slot
  // free. Later calls keep the existing table. Always returns 0.
  static HRESULT Create();
  // Null until Create has run.
  static FileTable* Get();

  // The slot of a file number; null outside 1 to 512.
  FileSlot* slot(LONG fileNumber);
  // The slot of an open file; null for a bad number or a free slot.
  FileSlot* openSlot(LONG fileNumber);

  const LONG count = kSlotCount;

 private:
  std::array<FileSlot, kSlotCount> slots_;
};

// The slot of an open file of the process's table; null when the table does
// not exist, the number is outside 1 to 512 or the slot is free.
FileSlot* OpenFileSlot(LONG fileNumber);

}  // namespace rt
