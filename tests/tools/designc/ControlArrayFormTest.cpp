// Control arrays on real forms compiled by designc: the designed elements
// share one member slot holding their array, elements are loaded from
// their template and unloaded again with the run-time errors that guard
// them, and the form's controls collection finds controls and arrays by
// name.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "runtime/com/EventSink.h"
#include "runtime/controls/ControlClasses.h"
#include "runtime/controls/ControlsTestSupport.h"
#include "runtime/controls/Label.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/forms/CompiledForm.h"
#include "runtime/forms/arrays/ArrayRouting.h"
#include "runtime/forms/arrays/ControlArray.h"
#include "runtime/forms/arrays/ControlsCollection.h"
#include "runtime/forms/arrays/FormControls.h"
#include "runtime/forms/design/AddControl.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/FormDesignLoader.h"
#include "runtime/forms/design/PropertyLayout.h"
#include "tools/designc/Compiler.h"
#include "tools/designc/DescriptionSyntax.h"

namespace {

using controls_test::GetByName;

// A compiled form with `slots` member slots whose sinks record the events
// they receive, by member id.
class ArrayForm final : public rt::ComObject<ArrayForm, rt::CompiledForm> {
 public:
  ArrayForm(int index, size_t slots) : index_(index), slots_(slots) {}
  int designIndex() override { return index_; }
  std::span<ComPtr<IUnknown>> memberSlots() override { return slots_; }
  IDispatch* eventSinkForMember(DISPID member) override {
    ComPtr<rt::EventSink>& sink = sinks_[member];
    if (!sink) {
      sink = rt::MakeComObject<rt::EventSink>(rt::kLabelLayout.events,
                                              [this, member](DISPID event, const DISPPARAMS&) {
                                                received.push_back({member, event});
                                                return S_OK;
                                              });
    }
    return sink.Get();
  }
  rt::EngineControl* formObject() override {
    return QueryInterfaceOf<rt::EngineControl>(slots_[0].Get()).Get();
  }
  IUnknown* slot(size_t i) { return slots_[i].Get(); }
  rt::ControlArray* array(size_t i) {
    return static_cast<rt::ControlArray*>(static_cast<IDispatch*>(slots_[i].Get()));
  }

  std::vector<std::pair<DISPID, DISPID>> received;

 private:
  int index_;
  std::vector<ComPtr<IUnknown>> slots_;
  std::map<DISPID, ComPtr<rt::EventSink>> sinks_;
};

// Form 1: an array of two designed labels (elements 0 and 2, the second in
// a frame), a text box, and a second array with element 0 only.
constexpr char kDescription[] = R"(
form 1 Form Main {
  ClientWidth = 6000; ClientHeight = 4000;
  Label lblItem(0) events {
    Left = 120; Top = 120; Width = 1200; Height = 255;
    Caption = "zero";
  }
  Frame fmeBox {
    Left = 120; Top = 600; Width = 3000; Height = 1500;
    Caption = "Box";
    Label lblItem(2) events { Left = 180; Top = 300; Width = 900; Height = 255; Caption = "two"; }
    TextBox txtName { Left = 180; Top = 700; Width = 1500; Height = 315; Text = "name"; }
  }
  Label lblOnly(0) {
    Left = 3300; Top = 150; Width = 1000; Height = 300;
    Caption = "only"; BackColor = &H00FF00;
  }
}
)";

// Member slots: the form, lblItem, fmeBox, txtName, lblOnly.
constexpr size_t kSlots = 5;
constexpr size_t kItems = 1;
constexpr size_t kBox = 2;
constexpr size_t kName = 3;
constexpr size_t kOnly = 4;

constexpr HRESULT RunTimeError(int n) {
  return static_cast<HRESULT>(0x800A0000u + static_cast<uint32_t>(n));
}

std::u16string ErrorText() {
  return std::u16string(rt::CurrentErrorContext().error.description.view());
}

std::u16string Text(const Variant& value) {
  return value.vt == VT_BSTR ? std::u16string(value.bstrVal, SysStringLen(value.bstrVal))
                             : std::u16string(u"<not a text>");
}

class ControlArrayForm : public controls_test::ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    rt::RegisterControlPropertyLayouts();
    rt::InstallDesignHooks();
    blob_ = designc::CompileDescription(kDescription);
    ASSERT_EQ(rt::InstallDesigns(blob_), S_OK);
    form_ = rt::MakeComObject<ArrayForm>(1, kSlots);
    ASSERT_EQ(rt::LoadFormDesign(*form_), S_OK);
    ASSERT_EQ(rt::EnsureFormIsLoaded(form_->formObject()), S_OK);
  }
  void TearDown() override {
    rt::DisconnectFormDesign(*form_);
    ControlsTest::TearDown();
    form_.Reset();
    rt::CurrentDesignTable().clear();
    rt::SetFormLoadHooks({});
  }

  ComPtr<IDispatch> item(rt::ControlArray& array, LONG index) {
    ComPtr<IDispatch> element;
    EXPECT_EQ(array.Item(index, &element), S_OK) << index;
    return element;
  }
  std::u16string caption(IDispatch* control) {
    Variant value;
    if (!control || FAILED(GetByName(control, u"Caption", value))) return u"<none>";
    return Text(value);
  }
  LONG number(IDispatch* object, std::u16string name) {
    Variant value;
    EXPECT_EQ(GetByName(object, name, value), S_OK) << std::string(name.begin(), name.end());
    Variant converted;
    VariantChangeType(converted.out(), &value, 0, VT_I4);
    return converted.lVal;
  }
  ComPtr<rt::ControlsCollection> controls() {
    ComPtr<IDispatch> collection;
    EXPECT_EQ(rt::ControlsCollectionOf(form_->formObject(), &collection), S_OK);
    return ComPtr<rt::ControlsCollection>(static_cast<rt::ControlsCollection*>(collection.Get()));
  }

  rt::ScopedClassTable classes_{rt::ControlClassTable()};
  std::vector<uint8_t> blob_;
  ComPtr<ArrayForm> form_;
};

TEST_F(ControlArrayForm, DesignedElementsShareTheSlotOfTheirArray) {
  rt::ControlArray& items = *form_->array(kItems);
  LONG count = 0, lower = -1, upper = -1;
  EXPECT_EQ(items.get_Count(&count), S_OK);
  EXPECT_EQ(items.get_LBound(&lower), S_OK);
  EXPECT_EQ(items.get_UBound(&upper), S_OK);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  EXPECT_EQ(caption(item(items, 0).Get()), u"zero");
  EXPECT_EQ(caption(item(items, 2).Get()), u"two");
  EXPECT_EQ(number(item(items, 2).Get(), u"Index"), 2);
  Variant name;
  ASSERT_EQ(GetByName(item(items, 2).Get(), u"Name", name), S_OK);
  EXPECT_EQ(Text(name), u"lblItem");

  ComPtr<IDispatch> missing;
  EXPECT_EQ(items.Item(1, &missing), RunTimeError(340));
  EXPECT_EQ(ErrorText(), u"Control array element does not exist");

  // The controls after the array keep their own slots; a plain control is
  // no element.
  EXPECT_EQ(caption(QueryInterfaceOf<IDispatch>(form_->slot(kBox)).Get()), u"Box");
  EXPECT_EQ(number(QueryInterfaceOf<IDispatch>(form_->slot(kName)).Get(), u"Index"), -1);
  EXPECT_EQ(caption(item(*form_->array(kOnly), 0).Get()), u"only");
}

TEST_F(ControlArrayForm, LoadingBeyondTheOnlyElementGrowsTheTable) {
  rt::ControlArray& only = *form_->array(kOnly);
  ASSERT_EQ(rt::LoadArrayElement(only, 5), S_OK);

  LONG count = 0, upper = 0;
  only.get_Count(&count);
  only.get_UBound(&upper);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(upper, 5);
  EXPECT_EQ(only.tableLength(), 6);
  for (LONG empty = 1; empty <= 4; ++empty) {
    ComPtr<IDispatch> element;
    EXPECT_EQ(only.Item(empty, &element), RunTimeError(340)) << empty;
  }

  // The new element is its template's twin: class, name, properties and
  // place, but hidden, with its own index, made at run time.
  const ComPtr<IDispatch> made = item(only, 5);
  ASSERT_TRUE(made);
  EXPECT_TRUE(QueryInterfaceOf<skiffwire::ILabel>(made.Get()));
  EXPECT_EQ(caption(made.Get()), u"only");
  EXPECT_EQ(number(made.Get(), u"BackColor"), 0x00FF00);
  EXPECT_EQ(number(made.Get(), u"Index"), 5);
  EXPECT_EQ(number(made.Get(), u"Left"), 3300);
  EXPECT_EQ(number(made.Get(), u"Top"), 150);
  EXPECT_EQ(number(made.Get(), u"Width"), 1000);
  Variant visible, name;
  ASSERT_EQ(GetByName(made.Get(), u"Visible", visible), S_OK);
  EXPECT_EQ(visible.vt, VT_BOOL);
  EXPECT_EQ(visible.boolVal, VARIANT_FALSE);
  ASSERT_EQ(GetByName(made.Get(), u"Name", name), S_OK);
  EXPECT_EQ(Text(name), u"lblOnly");
  rt::FormControls* engine = rt::FindFormControls(form_->formObject());
  ASSERT_NE(engine, nullptr);
  EXPECT_TRUE(engine->createdAtRunTime(made.Get()));
  EXPECT_FALSE(engine->createdAtRunTime(item(only, 0).Get()));
}

TEST_F(ControlArrayForm, LoadAndUnloadGuardTheirElements) {
  rt::ControlArray& items = *form_->array(kItems);
  const struct {
    const char* what;
    bool load;
    LONG index;
    int error;
    std::u16string_view text;
  } cases[] = {
      {"load an element that exists", true, 2, 360, u"Object already loaded"},
      {"load a negative index", true, -1, 341, u"Invalid control array index"},
      {"unload a designed element", false, 0, 362, u"Can't unload controls created at design time"},
      {"unload an empty slot", false, 1, 340, u"Control array element doesn't exist"},
      {"unload beyond the table", false, 9, 340, u"Control array element doesn't exist"},
  };
  for (const auto& c : cases) {
    const HRESULT hr =
        c.load ? rt::LoadArrayElement(items, c.index) : rt::UnloadArrayElement(items, c.index);
    EXPECT_EQ(hr, RunTimeError(c.error)) << c.what;
    EXPECT_EQ(ErrorText(), c.text) << c.what;
    LONG count = 0;
    items.get_Count(&count);
    EXPECT_EQ(count, 2) << c.what;
  }
}

TEST_F(ControlArrayForm, AnUnloadedElementLeavesTheFormAndItsSlot) {
  rt::ControlArray& items = *form_->array(kItems);
  const LONG designed = controls()->count();
  ASSERT_EQ(rt::LoadArrayElement(items, 1), S_OK);
  const ComPtr<IDispatch> made = item(items, 1);
  EXPECT_EQ(controls()->count(), designed + 1);
  // Its template is the lowest element, lblItem(0) on the form (not the
  // one in the frame), so the new element sits on the form too.
  Variant container;
  ASSERT_EQ(GetByName(made.Get(), u"Container", container), S_OK);
  ASSERT_EQ(container.vt, VT_DISPATCH);
  EXPECT_EQ(QueryInterfaceOf<IUnknown>(container.pdispVal).Get(),
            QueryInterfaceOf<IUnknown>(form_->slot(0)).Get());
  EXPECT_EQ(caption(made.Get()), u"zero");

  ASSERT_EQ(rt::UnloadArrayElement(items, 1), S_OK);
  LONG count = 0;
  items.get_Count(&count);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(items.elementAt(1), nullptr);
  EXPECT_EQ(controls()->count(), designed);
  rt::FormControls* engine = rt::FindFormControls(form_->formObject());
  EXPECT_FALSE(engine->isEngineControl(made.Get()));
  // The slot can be loaded again.
  EXPECT_EQ(rt::LoadArrayElement(items, 1), S_OK);
}

TEST_F(ControlArrayForm, AnArrayThatLostItsSlotUnloadsNothing) {
  ComPtr<rt::ControlArray> items(form_->array(kItems));
  ASSERT_EQ(rt::LoadArrayElement(*items, 4), S_OK);
  form_->memberSlots()[kItems] = nullptr;
  EXPECT_EQ(rt::UnloadArrayElement(*items, 4), E_FAIL);
  EXPECT_NE(items->elementAt(4), nullptr);
}

TEST_F(ControlArrayForm, AnArrayOutlivingItsFormInstanceFailsSafely) {
  ComPtr<rt::ControlArray> items(form_->array(kItems));
  rt::DisconnectFormDesign(*form_);
  LONG count = 0;
  EXPECT_EQ(items->get_Count(&count), E_FAIL);
  EXPECT_EQ(rt::LoadArrayElement(*items, 7), E_FAIL);
  EXPECT_EQ(items->elementAt(7), nullptr);
  ComPtr<IDispatch> collection;
  EXPECT_EQ(rt::ControlsCollectionOf(form_->formObject(), &collection), E_FAIL);
}

TEST_F(ControlArrayForm, ElementsLoadedAtRunTimeRaiseTheirEventsToTheArraysMember) {
  rt::ControlArray& items = *form_->array(kItems);
  ASSERT_EQ(rt::LoadArrayElement(items, 3), S_OK);
  form_->received.clear();
  Variant text;
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(u"changed");
  ASSERT_EQ(controls_test::PutByName(item(items, 3).Get(), u"Caption", text), S_OK);
  ASSERT_EQ(controls_test::PutByName(item(items, 0).Get(), u"Caption", text), S_OK);
  const std::vector<std::pair<DISPID, DISPID>> expected = {{kItems, rt::kLabelChange},
                                                           {kItems, rt::kLabelChange}};
  EXPECT_EQ(form_->received, expected);

  // Once unloaded, the element is no longer connected.
  const ComPtr<IDispatch> gone = item(items, 3);
  ASSERT_EQ(rt::UnloadArrayElement(items, 3), S_OK);
  form_->received.clear();
  Variant other;
  other.vt = VT_BSTR;
  other.bstrVal = SysAllocString(u"after");
  controls_test::PutByName(gone.Get(), u"Caption", other);
  EXPECT_TRUE(form_->received.empty());
}

TEST_F(ControlArrayForm, TheControlsCollectionFindsControlsAndArraysByName) {
  const ComPtr<rt::ControlsCollection> collection = controls();
  // lblItem(0), fmeBox, lblItem(2), txtName, lblOnly(0): the form is none.
  EXPECT_EQ(collection->count(), 5);

  const struct {
    std::u16string name;
    IUnknown* expected;
  } found[] = {
      {u"lblItem", form_->slot(kItems)}, {u"LBLITEM", form_->slot(kItems)},
      {u"lblonly", form_->slot(kOnly)},  {u"txtName", form_->slot(kName)},
      {u"FMEBOX", form_->slot(kBox)},
  };
  for (const auto& f : found) {
    Variant name;
    name.vt = VT_BSTR;
    name.bstrVal = SysAllocStringLen(f.name.data(), static_cast<UINT>(f.name.size()));
    ComPtr<IDispatch> control;
    ASSERT_EQ(collection->item(name, &control), S_OK) << std::string(f.name.begin(), f.name.end());
    EXPECT_EQ(QueryInterfaceOf<IUnknown>(control.Get()).Get(),
              QueryInterfaceOf<IUnknown>(f.expected).Get())
        << std::string(f.name.begin(), f.name.end());
  }

  Variant unknown;
  unknown.vt = VT_BSTR;
  unknown.bstrVal = SysAllocString(u"lblMissing");
  ComPtr<IDispatch> none;
  EXPECT_EQ(collection->item(unknown, &none), RunTimeError(731));
  EXPECT_EQ(ErrorText(), u"Control 'lblMissing' not found");

  Variant designed;
  designed.vt = VT_BSTR;
  designed.bstrVal = SysAllocString(u"txtName");
  EXPECT_EQ(collection->remove(designed), RunTimeError(362));
  EXPECT_EQ(collection->count(), 5);
}

TEST_F(ControlArrayForm, TheFormObjectHandsOutItsControlsByName) {
  const ComPtr<IDispatch> formObject = QueryInterfaceOf<IDispatch>(form_->slot(0));
  Variant controls;
  ASSERT_EQ(GetByName(formObject.Get(), u"Controls", controls), S_OK);
  ASSERT_EQ(controls.vt, VT_DISPATCH);
  EXPECT_EQ(number(controls.pdispVal, u"Count"), 5);
}

TEST_F(ControlArrayForm, ControlsAddedAtRunTimeFollowTheDesignedOnes) {
  const ComPtr<rt::ControlsCollection> collection = controls();
  ComPtr<rt::EngineControl> added;
  ASSERT_EQ(rt::AddControl(*rt::FindFormState(form_->formObject()), u"Nx.Label", u"lblAdded",
                           nullptr, &added),
            S_OK);
  EXPECT_EQ(collection->count(), 6);
  Variant position;
  position.vt = VT_I4;
  position.lVal = 5;
  ComPtr<IDispatch> last;
  ASSERT_EQ(collection->item(position, &last), S_OK);
  EXPECT_EQ(QueryInterfaceOf<IUnknown>(last.Get()).Get(),
            QueryInterfaceOf<IUnknown>(added.Get()).Get());
  Variant name;
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(u"LBLADDED");
  EXPECT_EQ(collection->remove(name), S_OK);
  EXPECT_EQ(collection->count(), 5);
}

TEST_F(ControlArrayForm, AnArraysDispatchNamesResolveInAnyCase) {
  IDispatch* items = form_->array(kItems);
  for (std::u16string name : {u"Count", u"count", u"COUNT"}) {
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    EXPECT_EQ(items->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 1);
  }
  Variant count;
  ASSERT_EQ(GetByName(items, u"Count", count), S_OK);
  EXPECT_EQ(count.lVal, 2);
}

TEST(ControlArrayDesign, DescriptionMistakesAboutArraysAreReported) {
  rt::RegisterControlPropertyLayouts();
  const struct {
    const char* what;
    const char* text;
    const char* reason;
  } cases[] = {
      {"two elements with one index", "form 0 Form F { Label a(1) { } Label a(1) { } }",
       "has element 1 twice"},
      {"elements of two classes", "form 0 Form F { Label a(0) { } TextBox a(1) { } }",
       "must be of one class"},
      {"a control beside an array of its name", "form 0 Form F { Label a { } Label a(1) { } }",
       "both a control and a control array"},
      {"an index out of range", "form 0 Form F { Label a(40000) { } }",
       "control array index (0 to 32767)"},
      {"an index set twice", "form 0 Form F { Label a(1) { Index = 2; } }", "set twice"},
  };
  for (const auto& c : cases) {
    try {
      designc::CompileDescription(c.text);
      ADD_FAILURE() << c.what << ": compiled";
    } catch (const designc::DescriptionError& error) {
      EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos)
          << c.what << ": " << error.what();
    }
  }
}

}  // namespace
