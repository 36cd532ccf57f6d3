// Builds the packed site table of a procedure (format in SiteTable.h),
// choosing the smallest record form and offset width that hold each site.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/types.h"

namespace rt {

struct SiteRecord {
  uint32_t statementStart = 0;
  uint32_t statementLength = 1;
  LONG line = 0;
  bool raiseFromRecord = false;
  // 0: the site takes the status it was raised with.
  HRESULT fixedStatus = 0;
  bool hasFixedStatus = false;
  // -1: no object. Otherwise the frame slot of the object the failing call was made on.
  LONG objectSlot = -1;
  const IID* interfaceId = nullptr;
  // -1: no line value. Otherwise non-negative.
  LONG lineValue = -1;
};

class SiteTableBuilder {
 public:
  explicit SiteTableBuilder(LONG baseLine = 0) : baseLine_(baseLine) {}

  // Adds the next site (sites are numbered from 0 in the order added).
  SiteTableBuilder& add(const SiteRecord& site);

  std::vector<uint8_t> build() const;

 private:
  LONG baseLine_;
  std::vector<SiteRecord> sites_;
};

}  // namespace rt
