// Form designs from arbitrary bytes: a compressed blob, unpacked design data
// walked object by object with every property block decoded, or a property
// block on its own. Nothing may read out of bounds, leak, allocate from an
// unchecked count or recurse without bound.
// Libraries: runtime_forms
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignBlob.h"
#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/PropertyReader.h"
#include "tests/runtime/forms/design/DesignTestClasses.h"

namespace {

// Decodes each object's block as if every class had the sample layout.
class BlockDecoder final : public rt::DesignObjectVisitor {
 public:
  HRESULT enterObject(const rt::DesignObjectHeader& header) override {
    designtest::SampleProperties props;
    rt::PropertyReader(header.properties).readInto(&props, designtest::kSampleLayout);
    return S_OK;
  }
};

void Setup() {
  // Failures wait a second and show boxes: keep both instant and bounded.
  static platform::VirtualClock clock;
  platform::SetClock(&clock);
  rt::SetClassTable(designtest::kTestClassTable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (Setup(), true);
  (void)ready;
  if (size == 0) return 0;
  const std::span<const uint8_t> input(data + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      rt::DesignTable table;
      if (SUCCEEDED(table.install(input))) {
        for (uint32_t index = 0; index < 8; ++index) {
          BlockDecoder decoder;
          rt::DesignObjectReader::Walk(table.record(index), decoder);
        }
      }
      break;
    }
    case 1: {
      rt::DesignTable table;
      table.installUnpacked(std::vector<uint8_t>(input.begin(), input.end()));
      for (uint32_t index = 0; index < 8; ++index) {
        BlockDecoder decoder;
        rt::DesignObjectReader::Walk(table.record(index), decoder);
      }
      break;
    }
    default: {
      designtest::SampleProperties props;
      uint32_t filled = 0;
      rt::PropertyReader(input).readInto(&props, designtest::kSampleLayout, &filled);
      break;
    }
  }
  platform::ClearRecordedMessageBoxes();
  return 0;
}
