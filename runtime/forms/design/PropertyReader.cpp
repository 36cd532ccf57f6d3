#include "runtime/forms/design/PropertyReader.h"

#include "runtime/forms/design/DesignReader.h"
#include "runtime/forms/design/internal/ValueDecoder.h"

namespace rt {

HRESULT PropertyReader::readInto(void* storage, const PropertyLayout& layout,
                                 uint32_t* filled) const {
  if (filled) *filled = 0;
  if (!present_ || block_.empty()) return S_OK;
  DesignReader reader(block_);
  design::ValueDecoder decoder(reader, connector_);
  const design::Destination dest{static_cast<uint8_t*>(storage), layout.storageSize, &layout};
  int64_t total = 0;
  if (!decoder.decode(dest, 0, 0, total)) return E_FAIL;
  if (filled) *filled = static_cast<uint32_t>(total < 0 ? 0 : total);
  return S_OK;
}

}  // namespace rt
