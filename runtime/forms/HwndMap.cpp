#include "runtime/forms/HwndMap.h"

namespace rt {

HwndMap::~HwndMap() {
  if (!buckets_) return;
  // Unlink chains iteratively so a long chain cannot exhaust the stack.
  for (size_t i = 0; i < BucketCount; ++i) {
    std::unique_ptr<Node> node = std::move(buckets_[i]);
    while (node)
      node = std::move(node->next);
  }
}

void HwndMap::insert(HWND hwnd, WindowRecord* record) {
  if (!buckets_) buckets_ = std::make_unique<std::unique_ptr<Node>[]>(BucketCount);
  std::unique_ptr<Node>& head = buckets_[BucketOf(hwnd)];
  for (Node* node = head.get(); node; node = node->next.get()) {
    if (node->hwnd != hwnd) continue;
    node->record = record;
    return;
  }
  head = std::make_unique<Node>(Node{std::move(head), hwnd, record});
  ++size_;
}

void HwndMap::remove(HWND hwnd) {
  if (!buckets_) return;
  std::unique_ptr<Node>* link = &buckets_[BucketOf(hwnd)];
  while (*link) {
    if ((*link)->hwnd == hwnd) {
      *link = std::move((*link)->next);
      --size_;
      return;
    }
    link = &(*link)->next;
  }
}

WindowRecord* HwndMap::find(HWND hwnd) const {
  if (!buckets_ || !hwnd) return nullptr;
  for (Node* node = buckets_[BucketOf(hwnd)].get(); node; node = node->next.get()) {
    if (node->hwnd == hwnd) return node->record;
  }
  return nullptr;
}

}  // namespace rt
