#include "runtime/forms/design/DesignTable.h"

#include "runtime/forms/design/DesignBlob.h"
#include "runtime/forms/design/DesignReader.h"

namespace rt {
namespace {
// A record holds at least its magic and its length.
constexpr uint32_t kMinRecordLength = 8;
}  // namespace

HRESULT DesignTable::install(std::span<const uint8_t> blob) {
  clear();
  if (blob.empty()) return S_OK;
  std::vector<uint8_t> unpacked;
  if (FAILED(DesignBlob::Unpack(blob, unpacked))) return E_FAIL;
  return installUnpacked(std::move(unpacked));
}

HRESULT DesignTable::installUnpacked(std::vector<uint8_t> unpacked) {
  clear();
  unpacked_ = std::move(unpacked);
  DesignReader reader(unpacked_);
  uint32_t records = 0;
  if (!reader.readU32(records)) return E_FAIL;
  for (uint32_t i = 0; i < records; ++i) {
    uint32_t formIndex = 0, magic = 0, length = 0;
    if (!reader.readU32(formIndex) || formIndex >= kDesignSlotCount) return E_FAIL;
    const size_t start = reader.position();
    if (!reader.readU32(magic) || !reader.readU32(length)) return E_FAIL;
    if (magic != kDesignRecordMagic || length < kMinRecordLength) return E_FAIL;
    if (length > unpacked_.size() - start) return E_FAIL;
    slots_[formIndex] = std::span<const uint8_t>(unpacked_).subspan(start);
    ++count_;
    reader = DesignReader(unpacked_);
    if (!reader.skip(start + length)) return E_FAIL;
  }
  return S_OK;
}

void DesignTable::clear() {
  slots_.fill({});
  unpacked_.clear();
  count_ = 0;
}

std::span<const uint8_t> DesignTable::record(uint32_t formIndex) const {
  if (formIndex >= kDesignSlotCount) return {};
  return slots_[formIndex];
}

DesignTable& CurrentDesignTable() {
  static DesignTable table;
  return table;
}

HRESULT InstallDesigns(std::span<const uint8_t> blob) {
  return CurrentDesignTable().install(blob);
}

}  // namespace rt
