// ToolTipText: read from the design or written at run time, shown by the
// engine's bubble when the mouse rests over the control.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "ControlsTestSupport.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/Shape.h"
#include "runtime/controls/TextBox.h"
#include "runtime/forms/design/PropertyReader.h"
#include "runtime/forms/design/ValueTags.h"

namespace controls_test {
namespace {

// A property block holding only the ToolTipText of a class's design record.
std::vector<uint8_t> ToolTipBlock(const rt::PropertyLayout& layout, std::string_view text) {
  const rt::PropertyField* field = layout.find("ToolTipText");
  EXPECT_NE(field, nullptr);
  if (!field) return {};
  std::vector<uint8_t> block{rt::tag::ShortRecord, 1};
  uint32_t gap = field->offset;
  block.push_back(rt::tag::Skip16);
  block.push_back(static_cast<uint8_t>(gap & 0xFF));
  block.push_back(static_cast<uint8_t>(gap >> 8));
  block.push_back(rt::tag::ShortString);
  block.push_back(static_cast<uint8_t>(text.size()));
  block.insert(block.end(), text.begin(), text.end());
  return block;
}

class ToolTips : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form_ = makeForm();
  }

  // Places the control, then reads its design block (the design's own
  // placement is empty, so the test's rectangle is put back afterwards).
  template <typename T>
  ComPtr<T> placeDesigned(double left, double top, double width, double height,
                          const std::vector<uint8_t>& block) {
    auto control = place<T>(*form_, left, top, width, height);
    rt::ControlRecord* record = control->record();
    const rt::Placement placement = record->placement;
    rt::PropertyReader reader(block);
    EXPECT_EQ(control->readDesign(reader), S_OK);
    record->placement = placement;
    return control;
  }

  POINT screenOf(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  void rest(POINT p) {
    display_->moveMouse(p.x, p.y);
    settle();
    advance(700);
  }
  HWND bubble() { return rt::CurrentEngineContext().bubbleWindow; }
  bool bubbleShown() { return bubble() && IsWindowVisible(bubble()); }
  std::u16string bubbleText() {
    char16_t text[128] = {};
    GetWindowTextW(bubble(), text, 128);
    return text;
  }

  ComPtr<rt::Form> form_;
};

TEST_F(ToolTips, EveryClassWithARectangleReadsItsToolTipFromTheDesign) {
  struct Case {
    const char* name;
    const rt::PropertyLayout* layout;
  };
  for (const Case& c :
       {Case{"TextBox", &rt::kTextBoxLayout}, Case{"CommandButton", &rt::kCommandButtonLayout},
        Case{"Label", &rt::kLabelLayout}, Case{"CheckBox", &rt::kCheckBoxLayout},
        Case{"Frame", &rt::kFrameLayout}, Case{"Shape", &rt::kShapeLayout}}) {
    // The design name and array index travel in the same common part.
    for (const auto& [field, kind] : {std::pair{"ToolTipText", rt::PropertyKind::String},
                                      std::pair{"Name", rt::PropertyKind::String},
                                      std::pair{"Index", rt::PropertyKind::Integer}}) {
      const rt::PropertyField* found = c.layout->find(field);
      ASSERT_NE(found, nullptr) << c.name << " " << field;
      EXPECT_EQ(found->kind, kind) << c.name << " " << field;
    }
  }
  auto button = placeDesigned<rt::CommandButton>(150, 150, 1500, 450,
                                                 ToolTipBlock(rt::kCommandButtonLayout, "Send"));
  Variant value;
  ASSERT_EQ(GetByName(button->dispatch(), u"ToolTipText", value), S_OK);
  EXPECT_EQ(std::u16string_view(value.bstrVal), u"Send");
  EXPECT_EQ(button->toolTipText(), u"Send");
}

TEST_F(ToolTips, RestingOverAControlShowsItsTextAndAControlWithoutOneShowsNone) {
  auto button = placeDesigned<rt::CommandButton>(
      150, 150, 1500, 450, ToolTipBlock(rt::kCommandButtonLayout, "Sends the datagram"));
  auto plain = place<rt::CommandButton>(*form_, 150, 900, 1500, 450);
  auto box = place<rt::TextBox>(*form_, 2000, 150, 2400, 375);
  auto label = place<rt::Label>(*form_, 2000, 2400, 2000, 300);
  ASSERT_EQ(PutByName(box->dispatch(), u"ToolTipText", Variant::Str(u"Peer address")), S_OK);
  ASSERT_EQ(PutByName(label->dispatch(), u"ToolTipText", Variant::Str(u"Packets")), S_OK);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  settle();

  rest(screenOf(plain->hwnd(), 20, 10));
  EXPECT_FALSE(bubbleShown());

  rest(screenOf(button->hwnd(), 20, 10));
  ASSERT_TRUE(bubbleShown());
  EXPECT_EQ(bubbleText(), u"Sends the datagram");

  rest(screenOf(box->hwnd(), 20, 10));
  ASSERT_TRUE(bubbleShown());
  EXPECT_EQ(bubbleText(), u"Peer address");

  // The windowless label is found under the cursor by its container (well
  // away from where the last bubble stands).
  rest(screenOf(form_->hwnd(), 2000 / 15 + 10, 2400 / 15 + 5));
  ASSERT_TRUE(bubbleShown());
  EXPECT_EQ(bubbleText(), u"Packets");

  rest(screenOf(form_->hwnd(), 390, 290));
  EXPECT_FALSE(bubbleShown());
}

TEST_F(ToolTips, ClearingTheTextStopsTheBubble) {
  auto button = place<rt::CommandButton>(*form_, 150, 150, 1500, 450);
  ASSERT_EQ(PutByName(button->dispatch(), u"ToolTipText", Variant::Str(u"Tip")), S_OK);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  settle();
  rest(screenOf(button->hwnd(), 20, 10));
  ASSERT_TRUE(bubbleShown());
  rest(screenOf(form_->hwnd(), 390, 290));
  ASSERT_EQ(PutByName(button->dispatch(), u"ToolTipText", Variant::Str(u"")), S_OK);
  rest(screenOf(button->hwnd(), 22, 12));
  EXPECT_FALSE(bubbleShown());
}

}  // namespace
}  // namespace controls_test
