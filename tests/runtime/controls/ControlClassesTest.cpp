#include "runtime/controls/ControlClasses.h"

#include <gtest/gtest.h>

#include "app/members/IYield.h"
#include "runtime/controls/CheckBox.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/Shape.h"
#include "runtime/controls/TextBox.h"
#include "runtime/controls/Timer.h"
#include "runtime/forms/EngineControl.h"

namespace rt {
namespace {

TEST(ControlClassesTest, EveryClassIsCreatedByItsIdentifierAndAnswersTheEngine) {
  ScopedClassTable table(ControlClassTable());
  const struct {
    CLSID clsid;
    IID events;
  } classes[] = {
      {CLSID_Form, skiffwire::DIID_FormEvents},
      {CLSID_TextBox, skiffwire::DIID_TextBoxEvents},
      {CLSID_CommandButton, skiffwire::DIID_CommandButtonEvents},
      {CLSID_Label, skiffwire::DIID_LabelEvents},
      {CLSID_Frame, DIID_FrameEvents},
      {CLSID_CheckBox, skiffwire::DIID_CheckBoxEvents},
      {CLSID_Timer, skiffwire::DIID_TimerEvents},
      {CLSID_Shape, skiffwire::DIID_ShapeEvents},
  };
  for (const auto& c : classes) {
    SCOPED_TRACE(testing::Message() << std::hex << c.clsid.Data1);
    ComPtr<IUnknown> object;
    ASSERT_EQ(CurrentClassRegistry().createForDesign(c.clsid, &object), S_OK);
    ComPtr<EngineControl> engine;
    EXPECT_EQ(object->QueryInterface(IID_EngineControl, reinterpret_cast<void**>(&engine)), S_OK);
    ComPtr<IConnectionPointContainer> points;
    ASSERT_EQ(
        object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points)),
        S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(points->FindConnectionPoint(c.events, &point), S_OK);
    if (engine) engine->terminate();
  }
}

TEST(ControlClassesTest, TheDesignLayoutsAreSoundAndRegistered) {
  RegisterControlPropertyLayouts();
  for (const char* name :
       {"Form", "TextBox", "CommandButton", "Label", "Frame", "CheckBox", "Timer", "Shape"}) {
    const PropertyLayout* layout = FindPropertyLayout(name);
    ASSERT_NE(layout, nullptr) << name;
    EXPECT_EQ(CheckLayout(*layout), "") << name;
    EXPECT_EQ(FindPropertyLayout(layout->clsid), layout) << name;
  }
}

TEST(ControlClassesTest, TheYieldObjectAnswersTheLoadedFormCount) {
  ComPtr<IUnknown> object;
  ASSERT_EQ(CreateYieldObject(&object), S_OK);
  ComPtr<skiffwire::IYield> yield;
  ASSERT_EQ(object->QueryInterface(skiffwire::IID_IYield, reinterpret_cast<void**>(&yield)), S_OK);
  SHORT count = -1;
  ASSERT_EQ(yield->DoEvents(&count), S_OK);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace rt
