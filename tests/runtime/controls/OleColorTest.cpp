#include "runtime/controls/OleColor.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi.h"

namespace rt {
namespace {

TEST(OleColorTest, ConvertsEachKindOfColour) {
  const std::vector<COLORREF> palette = {0x000000FF, 0x0000FF00, 0x00FF0000};
  const struct {
    OLE_COLOR colour;
    bool withPalette;
    HRESULT status;
    COLORREF rgb;
  } cases[] = {
      {0x00123456, false, S_OK, 0x00123456},
      {0x00123456, true, S_OK, 0x02123456},  // marked palette-relative
      {0x02123456, false, S_OK, 0x02123456},
      {0x01000002, true, S_OK, 0x01000002},
      {0x01000003, true, E_INVALIDARG, 0},  // past the palette's end
      {0x01000000, false, E_INVALIDARG, 0},
      {0x80000005, false, S_OK, GetSysColor(5)},
      {0x8000000F, false, S_OK, GetSysColor(15)},
      {0x80000000 + 30, false, S_OK, GetSysColor(30)},
      {0x80000000 + 31, false, E_INVALIDARG, 0},
      {0x800000FF, false, E_INVALIDARG, 0},
      {0x03000000, false, E_INVALIDARG, 0},
      {0xFFFFFFFF, false, E_INVALIDARG, 0},
      {0x40000000, false, E_INVALIDARG, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.colour);
    COLORREF rgb = 0;
    const HRESULT status =
        c.withPalette ? TranslateColor(c.colour, palette, &rgb) : TranslateColor(c.colour, &rgb);
    EXPECT_EQ(status, c.status);
    if (SUCCEEDED(status)) {
      EXPECT_EQ(rgb, c.rgb);
    }
  }
}

}  // namespace
}  // namespace rt
