#include "runtime/core/FileTable.h"

#include <memory>

namespace rt {
namespace {

// Storage whose destructor leaves the table alone: the table lives for the
// whole process, and closing its files from a static destructor could run
// after the kernel's own handle table is gone. Open files are left to the
// system at exit, unflushed.
union Storage {
  Storage() {}
  ~Storage() {}
  FileTable table;
};

struct Instance {
  Storage storage;
  FileTable* table = nullptr;
};

Instance& instance() {
  static Instance holder;
  return holder;
}

}  // namespace

HRESULT FileTable::Create() {
  Instance& holder = instance();
  if (!holder.table) holder.table = std::construct_at(&holder.storage.table);
  return S_OK;
}

FileTable* FileTable::Get() {
  return instance().table;
}

FileSlot* FileTable::slot(LONG fileNumber) {
  if (fileNumber < 1 || fileNumber > kSlotCount) return nullptr;
  return &slots_[static_cast<size_t>(fileNumber - 1)];
}

FileSlot* FileTable::openSlot(LONG fileNumber) {
  FileSlot* found = slot(fileNumber);
  return found && !found->isFree() ? found : nullptr;
}

FileSlot* OpenFileSlot(LONG fileNumber) {
  FileTable* files = FileTable::Get();
  return files ? files->openSlot(fileNumber) : nullptr;
}

}  // namespace rt
