#include "runtime/forms/design/PersistedBytes.h"

#include <vector>

#include "runtime/com/ComObject.h"
#include "runtime/forms/design/PropertyReader.h"
#include "runtime/forms/design/internal/PersistedObjects.h"

namespace rt {
namespace {

class PersistedBytes final : public ComObject<PersistedBytes, IPersistedBytes> {
 public:
  explicit PersistedBytes(std::span<const uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}
  std::span<const uint8_t> bytes() override { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

PersistedObjectLoader& Loader() {
  static PersistedObjectLoader loader;
  return loader;
}

}  // namespace

HRESULT CreatePersistedBytes(std::span<const uint8_t> bytes, IUnknown** out) {
  *out = MakeComObject<PersistedBytes>(bytes).Detach();
  return S_OK;
}

void SetPersistedObjectLoader(PersistedObjectLoader loader) {
  Loader() = std::move(loader);
}

namespace design {

HRESULT LoadPersistedObject(std::span<const uint8_t> bytes, IUnknown** out) {
  *out = nullptr;
  if (Loader()) return Loader()(bytes, out);
  return CreatePersistedBytes(bytes, out);
}

}  // namespace design
}  // namespace rt
