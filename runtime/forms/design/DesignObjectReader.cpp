#include "runtime/forms/design/DesignObjectReader.h"

#include "runtime/forms/design/DesignTable.h"

namespace rt {

HRESULT DesignObjectReader::Walk(std::span<const uint8_t> record, DesignObjectVisitor& visitor) {
  DesignReader reader(record);
  uint32_t magic = 0, length = 0;
  if (!reader.readU32(magic) || magic != kDesignRecordMagic) return E_FAIL;
  if (!reader.readU32(length) || !reader.setSize(length)) return E_FAIL;
  return readObject(reader, 0, visitor);
}

HRESULT DesignObjectReader::readObject(DesignReader& reader, int depth,
                                       DesignObjectVisitor& visitor) {
  if (depth >= kMaxObjectNesting) return E_FAIL;
  DesignObjectHeader header;
  header.depth = depth;
  uint8_t eventsFlag = 0;
  uint32_t blockLength = 0;
  if (!reader.readGuid(header.clsid) || !reader.readU8(eventsFlag)) return E_FAIL;
  header.hasEvents = eventsFlag != 0;
  if (header.hasEvents && !reader.readGuid(header.events)) return E_FAIL;
  if (!reader.readU32(blockLength) || !reader.readBytes(blockLength, header.properties)) {
    return E_FAIL;
  }
  if (!reader.readU16(header.childCount)) return E_FAIL;
  if (const HRESULT status = visitor.enterObject(header); FAILED(status)) return status;
  for (uint16_t i = 0; i < header.childCount; ++i) {
    if (const HRESULT status = readObject(reader, depth + 1, visitor); FAILED(status)) {
      return status;
    }
  }
  visitor.leaveObject(header);
  return S_OK;
}

}  // namespace rt
