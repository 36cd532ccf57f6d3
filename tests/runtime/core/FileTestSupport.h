// A fixture for tests of the numbered files: a scratch folder, the process's
// file table, every number closed afterwards and no kernel handle left over.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/kernel/TempFolder.h"
#include "platform/testing.h"
#include "runtime/core/FileStatements.h"
#include "runtime/core/FileTable.h"

namespace rt::testing {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FileTable::Create();
    handlesBefore_ = platform::OpenKernelHandleCount();
  }
  void TearDown() override {
    for (LONG number = 1; number <= FileTable::kSlotCount; ++number)
      CloseFile(number);
    EXPECT_EQ(platform::OpenKernelHandleCount(), handlesBefore_) << "a file handle leaked";
  }

  std::u16string path(const std::string& name) const { return folder_.win32(name); }
  static bool isFree(LONG fileNumber) { return OpenFileSlot(fileNumber) == nullptr; }

  testing_support::TempFolder folder_;

 private:
  size_t handlesBefore_ = 0;
};

}  // namespace rt::testing
