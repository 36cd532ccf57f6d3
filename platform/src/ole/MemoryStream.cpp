// A stream over a growable block of memory (SHCreateMemStream).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <vector>

#include "platform/ole.h"

namespace {

class MemoryStream final : public IStream {
 public:
  MemoryStream(const BYTE* data, UINT size) {
    if (data) bytes_.assign(data, data + size);
  }

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid != IID_IUnknown && riid != IID_ISequentialStream && riid != IID_IStream) {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    *ppv = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    if (!buffer) return STG_E_INVALIDPOINTER;
    const size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const size_t taken = std::min<size_t>(count, available);
    if (taken) std::memcpy(buffer, bytes_.data() + position_, taken);
    position_ += taken;
    if (read) *read = static_cast<ULONG>(taken);
    return taken == count ? S_OK : S_FALSE;
  }

  HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
    if (!buffer) return STG_E_INVALIDPOINTER;
    const size_t end = position_ + count;
    try {
      if (end > bytes_.size()) bytes_.resize(end);
    } catch (const std::bad_alloc&) {
      if (written) *written = 0;
      return STG_E_MEDIUMFULL;
    }
    if (count) std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = end;
    if (written) *written = count;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    LONGLONG base = 0;
    switch (origin) {
      case STREAM_SEEK_SET:
        break;
      case STREAM_SEEK_CUR:
        base = static_cast<LONGLONG>(position_);
        break;
      case STREAM_SEEK_END:
        base = static_cast<LONGLONG>(bytes_.size());
        break;
      default:
        return STG_E_INVALIDFUNCTION;
    }
    const LONGLONG target = base + move.QuadPart;
    // A position before the start is refused; one past the end is allowed
    // (reads there find nothing, writes extend the stream).
    if (target < 0) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<size_t>(target);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER newSize) override {
    try {
      bytes_.resize(static_cast<size_t>(newSize.QuadPart));
    } catch (const std::bad_alloc&) {
      return STG_E_MEDIUMFULL;
    }
    return S_OK;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                 ULARGE_INTEGER* written) override {
    if (!target) return STG_E_INVALIDPOINTER;
    const size_t available = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const size_t taken = static_cast<size_t>(std::min<ULONGLONG>(count.QuadPart, available));
    ULONG done = 0;
    HRESULT hr = target->Write(bytes_.data() + position_, static_cast<ULONG>(taken), &done);
    position_ += taken;
    if (read) read->QuadPart = taken;
    if (written) written->QuadPart = done;
    return hr;
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }

  HRESULT Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_.size();
    return S_OK;
  }

  HRESULT Clone(IStream** clone) override {
    if (!clone) return STG_E_INVALIDPOINTER;
    auto* copy = new (std::nothrow) MemoryStream(bytes_.data(), static_cast<UINT>(bytes_.size()));
    *clone = copy;
    if (!copy) return E_OUTOFMEMORY;
    copy->position_ = position_;
    return S_OK;
  }

 private:
  ~MemoryStream() = default;

  std::atomic<ULONG> references_{1};
  std::vector<BYTE> bytes_;
  size_t position_ = 0;
};

}  // namespace

IStream* SHCreateMemStream(const BYTE* data, UINT size) {
  try {
    return new MemoryStream(data, size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
