// Form1's form description compiled against the classes' design layouts:
// one member slot per member (the sixteen lblTitle captions share one, as
// a control array), the events of the handled members connected, and the
// design loaded on a headless form with lblTitle(0) to lblTitle(15) reached
// by index.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "app/form1/Form1Form.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "runtime/controls/ControlClasses.h"
#include "runtime/controls/extender/ActiveXControlExtenderDesign.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormLifecycle.h"
#include "runtime/forms/WindowCreation.h"
#include "runtime/forms/arrays/ControlArray.h"
#include "runtime/forms/design/DesignIdentity.h"
#include "runtime/forms/design/DesignObjectReader.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/FormDesignLoader.h"
#include "tools/designc/Compiler.h"
#include "tools/designc/DescriptionSyntax.h"

namespace skiffwire::testing {
namespace {

// The captions of lblTitle(0) to lblTitle(15), in index order.
const char16_t* const kTitles[] = {
    u"IP Address :",
    u"Port :",
    u"Longstring Clear String :",
    u"Send Test String :",
    u"Tx Wait State",
    u"mS",
    u"Tx Packet Length",
    u"bytes",
    u"TimeOut",
    u"mS",
    u"Retry Attempts",
    u"Checksum Value",
    u"DataGram Length",
    u"bytes",
    u"Hex",
    u"Est. Packet Qty",
};

struct Collect : rt::DesignObjectVisitor {
  HRESULT enterObject(const rt::DesignObjectHeader& header) override {
    objects.push_back(header);
    return S_OK;
  }
  std::vector<rt::DesignObjectHeader> objects;
};

std::vector<uint8_t> CompileForm1() {
  rt::RegisterControlPropertyLayouts();
  rt::RegisterPropertyLayout(rt::kActiveXControlExtenderLayout);
  std::ifstream file(FORM1_DESCRIPTION);
  EXPECT_TRUE(file) << FORM1_DESCRIPTION;
  std::stringstream text;
  text << file.rdbuf();
  try {
    return designc::CompileDescription(text.str());
  } catch (const designc::DescriptionError& error) {
    ADD_FAILURE() << "line " << error.pos.line << ": " << error.what();
  }
  return {};
}

TEST(Form1Description, CompilesIntoOneObjectPerMemberSlotAndOneArray) {
  const std::vector<uint8_t> blob = CompileForm1();
  rt::DesignTable table;
  ASSERT_EQ(table.install(blob), S_OK);
  Collect collect;
  ASSERT_EQ(rt::DesignObjectReader::Walk(table.record(Form1Form::kDesignIndex), collect), S_OK);
  ASSERT_EQ(collect.objects.size(), 50u);

  // Slots as the loader hands them out: an array's elements share the slot
  // of the first one.
  ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(nullptr);
  size_t slots = 0;
  int handled = 0;
  std::vector<int32_t> titleIndexes;
  for (const rt::DesignObjectHeader& object : collect.objects) {
    const rt::DesignIdentity identity =
        object.depth == 0 ? rt::DesignIdentity{}
                          : rt::ReadDesignIdentity(object.clsid, object.properties);
    if (identity.index >= 0) {
      EXPECT_EQ(identity.name, u"lblTitle");
      titleIndexes.push_back(identity.index);
      EXPECT_FALSE(object.hasEvents);
      if (identity.index == 0) {
        EXPECT_EQ(slots++, static_cast<size_t>(member::lblTitle));
      }
      continue;
    }
    const DISPID id = static_cast<DISPID>(slots++);
    const bool wanted = form->eventSinkForMember(id) != nullptr;
    EXPECT_EQ(object.hasEvents, wanted) << id;
    handled += wanted ? 1 : 0;
  }
  EXPECT_EQ(slots, member::kCount);
  EXPECT_EQ(handled, 11);
  std::vector<int32_t> expected(16);
  for (int32_t i = 0; i < 16; ++i)
    expected[static_cast<size_t>(i)] = i;
  EXPECT_EQ(titleIndexes, expected);
}

// Form1's design read into plain member slots (no handlers), on a headless
// display with the real controls; the socket controls' extender is a
// windowless stand-in here.
class ExtenderStandIn final : public rt::ComObject<ExtenderStandIn, rt::EngineControl> {
 public:
  void attachRecord(rt::ControlRecord&) override {}
  HRESULT fillWindowRecord(rt::WindowRecord&) override { return S_OK; }
  HRESULT raiseEvent(DISPID, std::span<Variant>) override { return S_OK; }
};

HRESULT CreateExtenderStandIn(IUnknown** out) {
  *out = rt::MakeComObject<ExtenderStandIn>().Detach();
  return S_OK;
}

class PlainSlots final : public rt::ComObject<PlainSlots, rt::CompiledForm> {
 public:
  int designIndex() override { return Form1Form::kDesignIndex; }
  std::span<ComPtr<IUnknown>> memberSlots() override { return slots_; }
  IDispatch* eventSinkForMember(DISPID) override { return nullptr; }
  rt::EngineControl* formObject() override {
    return QueryInterfaceOf<rt::EngineControl>(slots_[member::Form1].Get()).Get();
  }

 private:
  std::array<ComPtr<IUnknown>, member::kCount> slots_;
};

std::vector<rt::ClassRegistryEntry> ClassesWithStandIn() {
  std::vector<rt::ClassRegistryEntry> classes;
  for (const rt::ClassRegistryEntry* entry = rt::ControlClassTable(); entry->create; ++entry) {
    if (entry->clsid != rt::CLSID_ActiveXControlExtender) classes.push_back(*entry);
  }
  classes.push_back({&CreateExtenderStandIn, rt::CLSID_ActiveXControlExtender, {}});
  classes.push_back({nullptr, {}, {}});
  return classes;
}

TEST(Form1Description, LoadsWithTheTitlesReachedByIndex) {
  platform::ScopedVirtualClock clock(1000);
  platform::ScopedHeadlessDisplay display({1024, 768}, 96);
  rt::StartEngine();
  const std::vector<rt::ClassRegistryEntry> classes = ClassesWithStandIn();
  rt::ScopedClassTable table(classes.data());
  rt::InstallDesignHooks();
  const std::vector<uint8_t> blob = CompileForm1();
  ASSERT_EQ(rt::InstallDesigns(blob), S_OK);
  ComPtr<PlainSlots> form = rt::MakeComObject<PlainSlots>();
  ASSERT_EQ(rt::LoadFormDesign(*form), S_OK);
  ASSERT_EQ(rt::EnsureFormIsLoaded(form->formObject()), S_OK);

  const ComPtr<IDispatch> titles =
      QueryInterfaceOf<IDispatch>(form->memberSlots()[member::lblTitle].Get());
  ASSERT_TRUE(titles);
  auto* array = static_cast<rt::ControlArray*>(titles.Get());
  LONG count = 0, upper = 0;
  EXPECT_EQ(array->get_Count(&count), S_OK);
  EXPECT_EQ(array->get_UBound(&upper), S_OK);
  EXPECT_EQ(count, 16);
  EXPECT_EQ(upper, 15);
  for (LONG i = 0; i < 16; ++i) {
    ComPtr<IDispatch> title;
    ASSERT_EQ(array->Item(i, &title), S_OK) << i;
    const ComPtr<ILabel> label = QueryInterfaceOf<ILabel>(title.Get());
    ASSERT_TRUE(label) << i;
    Bstr caption;
    ASSERT_EQ(label->get_Caption(caption.out()), S_OK);
    EXPECT_EQ(caption.view(), kTitles[i]) << i;
  }
  // The members after the array hold what Form1's procedures use.
  EXPECT_TRUE(QueryInterfaceOf<ITextBox>(form->memberSlots()[member::txtIpAddress].Get()));
  EXPECT_TRUE(QueryInterfaceOf<ILabel>(form->memberSlots()[member::lblPacketQty].Get()));
  EXPECT_TRUE(QueryInterfaceOf<ICommandButton>(form->memberSlots()[member::cmdSendDataGram].Get()));

  rt::DisconnectFormDesign(*form);
  rt::ResetEngineContext();
  rt::CurrentDesignTable().clear();
  rt::SetFormLoadHooks({});
}

}  // namespace
}  // namespace skiffwire::testing
