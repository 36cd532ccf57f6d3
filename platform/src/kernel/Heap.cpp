// The process heap and local allocations over the C allocator.
#include <cstdlib>
#include <cstring>

#include "platform/kernel.h"

namespace {
// Any non-null value identifies the single process heap.
int g_processHeap;
}  // namespace

HANDLE GetProcessHeap() {
  return &g_processHeap;
}

LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!heap) return nullptr;
  void* p = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1)
                                       : std::malloc(bytes ? bytes : 1);
  if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

LPVOID HeapReAlloc(HANDLE heap, DWORD, LPVOID memory, SIZE_T bytes) {
  if (!heap) return nullptr;
  void* p = std::realloc(memory, bytes ? bytes : 1);
  if (!p) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

BOOL HeapFree(HANDLE heap, DWORD, LPVOID memory) {
  if (!heap) return FALSE;
  std::free(memory);
  return TRUE;
}

HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
  return (flags & LMEM_ZEROINIT) ? std::calloc(1, bytes ? bytes : 1)
                                 : std::malloc(bytes ? bytes : 1);
}

HLOCAL LocalFree(HLOCAL memory) {
  std::free(memory);
  return nullptr;
}
