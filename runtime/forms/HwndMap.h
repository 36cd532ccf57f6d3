// Window handle to window record: 65536 buckets chosen by bits 4 to 19 of
// the handle, each a chain; the bucket array is allocated on first insertion.
#pragma once

#include <memory>

#include "platform/user.h"

namespace rt {

struct WindowRecord;

class HwndMap {
 public:
  static constexpr size_t BucketCount = 65536;
  static size_t BucketOf(HWND hwnd) { return (reinterpret_cast<uintptr_t>(hwnd) >> 4) & 0xFFFF; }

  HwndMap() = default;
  ~HwndMap();
  HwndMap(const HwndMap&) = delete;
  HwndMap& operator=(const HwndMap&) = delete;

  // Inserts or replaces the record of hwnd.
  void insert(HWND hwnd, WindowRecord* record);
  void remove(HWND hwnd);
  WindowRecord* find(HWND hwnd) const;
  size_t size() const { return size_; }

 private:
  struct Node {
    std::unique_ptr<Node> next;
    HWND hwnd;
    WindowRecord* record;
  };
  std::unique_ptr<std::unique_ptr<Node>[]> buckets_;
  size_t size_ = 0;
};

}  // namespace rt
