// A form holding one of every control, drawn by the headless display at 96
// and 144 dots per inch and written as PNG files (to the folder named by
// SKIFFWIRE_GALLERY_DIR, else the temporary folder) for people to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/clock.h"
#include "platform/display.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/Shape.h"
#include "runtime/controls/TextBox.h"
#include "runtime/controls/Timer.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/MessagePump.h"
#include "runtime/forms/WindowCreation.h"

namespace controls_test {
namespace {

std::string GalleryPath(int dpi) {
  const char* folder = std::getenv("SKIFFWIRE_GALLERY_DIR");
  const std::filesystem::path base = folder ? folder : std::filesystem::temp_directory_path();
  return (base / ("controls-gallery-" + std::to_string(dpi) + ".png")).string();
}

template <typename T>
ComPtr<T> Place(rt::FormState& state, rt::ControlRecord* container, double left, double top,
                double width, double height) {
  auto control = rt::MakeComObject<T>();
  rt::ControlRecord& record = rt::BuildControlRecord(state, container, control.Get());
  record.placement = {96, left, top, width, height};
  return control;
}

void SetText(IDispatch* object, const char16_t* name, const char16_t* text) {
  std::u16string member(name);
  LPOLESTR names[] = {member.data()};
  DISPID id = 0;
  ASSERT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
  Variant value = Variant::Str(text);
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  ASSERT_EQ(
      object->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
      S_OK);
}

class GalleryTest : public ::testing::TestWithParam<int> {};

TEST_P(GalleryTest, AFormWithEveryControl) {
  const int dpi = GetParam();
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedHeadlessDisplay display({1600, 1200}, dpi);
  ASSERT_EQ(rt::StartEngine(), S_OK);
  {
    auto form = rt::MakeComObject<rt::Form>();
    form->settings_.clientWidth = 420;
    form->settings_.clientHeight = 260;
    form->settings_.left = 20;
    form->settings_.top = 20;
    rt::FormState& state = *rt::FormStateOf(form.Get());
    SetText(form->dispatch(), u"Caption", u"Every control");

    auto frame = Place<rt::Frame>(state, nullptr, 120, 120, 3600, 2400);
    rt::ControlRecord* inFrame = state.records().back().get();
    SetText(frame->dispatch(), u"Caption", u"Connection");
    auto label = Place<rt::Label>(state, inFrame, 150, 330, 1000, 255);
    SetText(label->dispatch(), u"Caption", u"Address:");
    auto address = Place<rt::TextBox>(state, inFrame, 1200, 300, 2200, 315);
    SetText(address->dispatch(), u"Text", u"192.168.1.20");
    auto check = Place<rt::CheckBox>(state, inFrame, 150, 800, 2500, 315);
    SetText(check->dispatch(), u"Caption", u"Send checksum");
    auto connect = Place<rt::CommandButton>(state, inFrame, 150, 1500, 1600, 450);
    SetText(connect->dispatch(), u"Caption", u"Connect");
    auto lamp = Place<rt::Shape>(state, inFrame, 2400, 1450, 500, 500);
    auto log = Place<rt::TextBox>(state, nullptr, 3900, 120, 2250, 2400);
    auto timer = Place<rt::Timer>(state, nullptr, 3900, 2700, 0, 0);
    auto status = Place<rt::Label>(state, nullptr, 120, 2700, 3000, 255);
    SetText(status->dispatch(), u"Caption", u"Ready.");
    ASSERT_EQ(log->put_Text(Bstr(u"log line one").get()), S_OK);
    auto ramp = Place<rt::Shape>(state, nullptr, 3300, 2700, 450, 450);
    ramp->shape_ = rt::figure::Diamond;
    ramp->fillStyle_ = rt::kFillGradientVertical;
    ramp->fillColor_ = 0x00FF8000;
    // The graphical style is read before the window record is made.
    auto send = rt::MakeComObject<rt::CommandButton>();
    send->button()->style_ = 1;
    send->backColor_ = 0x00C0FFC0;
    rt::BuildControlRecord(state, nullptr, send.Get()).placement = {96, 3900, 2700, 1500, 450};
    SetText(send->dispatch(), u"Caption", u"Send");

    // Styles that must be in place before the windows exist.
    log->multiLine_ = VARIANT_TRUE;
    log->scrollBars_ = 2;
    lamp->shape_ = rt::figure::Circle;
    lamp->fillStyle_ = rt::kFillSolid;
    ASSERT_EQ(check->put_Value(1), S_OK);

    ASSERT_EQ(rt::Show(form.Get(), 0, nullptr), S_OK);
    ASSERT_EQ(lamp->put_FillColor(0x0000C000), S_OK);
    ASSERT_EQ(log->put_Text(Bstr(u"09:00:01 Sent 02\r\n09:00:01 Sent Hello\r\n09:00:02 ACK").get()),
              S_OK);
    for (int i = 0; i < 8; ++i)
      rt::Yield();

    RECT client{};
    GetClientRect(form->hwnd(), &client);
    EXPECT_EQ(client.right, 420 * dpi / 96);
    const std::string path = GalleryPath(dpi);
    ASSERT_TRUE(platform::headless::SnapshotPng(form->hwnd(), path)) << path;
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    rt::ResetEngineContext();
  }
}

INSTANTIATE_TEST_SUITE_P(Dpi, GalleryTest, ::testing::Values(96, 144));

}  // namespace
}  // namespace controls_test
