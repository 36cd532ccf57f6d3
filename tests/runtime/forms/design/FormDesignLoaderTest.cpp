// Reading a compiled form's design into its member slots, connecting
// events, building the control records, the layout pass and adding
// controls at run time, over test doubles of the controls.
#include <gtest/gtest.h>

#include <vector>

#include "platform/dialogs.h"
#include "runtime/com/ConnectionPoint.h"
#include "runtime/com/EventSink.h"
#include "runtime/core/Status.h"
#include "runtime/core/ThreadErrorContext.h"
#include "runtime/forms/CompiledForm.h"
#include "runtime/forms/FormsTestSupport.h"
#include "runtime/forms/design/AddControl.h"
#include "runtime/forms/design/ClassRegistry.h"
#include "runtime/forms/design/DesignTable.h"
#include "runtime/forms/design/FormDesignLoader.h"
#include "runtime/forms/design/InternalAssertion.h"
#include "runtime/forms/design/Layout.h"

namespace {

using forms_test::TestControl;
using Bytes = std::vector<uint8_t>;

constexpr IID kControlEvents{
    0x77777777, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x01}};

// A windowless control that raises events through a connection point.
class EventfulControl final
    : public rt::ComObject<EventfulControl, rt::EngineControl, IConnectionPointContainer> {
 public:
  EventfulControl() : point_(rt::MakeComObject<rt::ConnectionPoint>(kControlEvents, this)) {}
  void attachRecord(rt::ControlRecord&) override {}
  HRESULT fillWindowRecord(rt::WindowRecord&) override { return S_OK; }
  HRESULT raiseEvent(DISPID, std::span<Variant>) override { return S_OK; }
  HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
    if (iid != kControlEvents) return CONNECT_E_NOCONNECTION;
    *out = point_.Get();
    (*out)->AddRef();
    return S_OK;
  }
  bool hasSinks() const { return point_->hasSinks(); }

 private:
  friend class rt::ComObject<EventfulControl, rt::EngineControl, IConnectionPointContainer>;
  ~EventfulControl() override { point_->detach(); }
  ComPtr<rt::ConnectionPoint> point_;
};

// Every object the test classes created, in creation order.
std::vector<ComPtr<IUnknown>>& Created() {
  static std::vector<ComPtr<IUnknown>> created;
  return created;
}

HRESULT Hand(IUnknown* object, IUnknown** out) {
  object->AddRef();
  *out = object;
  Created().emplace_back(object);
  return S_OK;
}

HRESULT CreateForm(IUnknown** out) {
  auto form = forms_test::MakeForm("form");
  return Hand(form->unknown(), out);
}
HRESULT CreateFrame(IUnknown** out) {
  auto frame = forms_test::MakeControl("frame");
  frame->className = u"STATIC";
  frame->style = WS_VISIBLE;
  frame->rect = {10, 10, 210, 110};
  return Hand(frame->unknown(), out);
}
HRESULT CreateTextBox(IUnknown** out) {
  auto text = forms_test::MakeControl("text");
  text->className = u"STATIC";
  text->style = WS_VISIBLE;
  text->rect = {5, 5, 10, 10};  // 75 twips square
  text->sinkOfOwnWindow = false;
  return Hand(text->unknown(), out);
}
HRESULT CreateLabel(IUnknown** out) {
  auto label = forms_test::MakeControl("label");
  return Hand(label->unknown(), out);
}
HRESULT CreateEventful(IUnknown** out) {
  return Hand(rt::MakeComObject<EventfulControl>()->unknown(), out);
}

constexpr CLSID Intrinsic(uint32_t data1) {
  return {data1, 0x6699, 0x11CF, {0xB7, 0x0C, 0x00, 0xAA, 0x00, 0x60, 0xD3, 0x93}};
}
constexpr CLSID kFrame = Intrinsic(0x33AD4EE8);
constexpr CLSID kTextBox = Intrinsic(0x33AD4EE0);
constexpr CLSID kLabel = Intrinsic(0x33AD4ED8);
constexpr CLSID kEventful{
    0x77777777, 0x1111, 0x2222, {0x33, 0x33, 0x44, 0x44, 0x44, 0x44, 0x44, 0x02}};
constexpr CLSID kUnknownClass{0x0BADC0DE, 0, 0, {}};

const rt::ClassRegistryEntry kClasses[] = {
    {&CreateForm, rt::kFormClassId, {}}, {&CreateFrame, kFrame, {}},
    {&CreateTextBox, kTextBox, {}},      {&CreateLabel, kLabel, {}},
    {&CreateEventful, kEventful, {}},    {nullptr, {}, {}},
};

// Encodes an object (no property block) with its children.
struct Obj {
  Obj(CLSID clsid, bool events = false, std::vector<Obj> children = {})
      : clsid(clsid), events(events), children(std::move(children)) {}
  CLSID clsid;
  bool events;
  std::vector<Obj> children;
};

void PutU32(Bytes& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Encode(const Obj& o, Bytes& out) {
  const auto* id = reinterpret_cast<const uint8_t*>(&o.clsid);
  out.insert(out.end(), id, id + 16);
  out.push_back(o.events ? 1 : 0);
  if (o.events) {
    const auto* iid = reinterpret_cast<const uint8_t*>(&kControlEvents);
    out.insert(out.end(), iid, iid + 16);
  }
  PutU32(out, 0);
  out.push_back(static_cast<uint8_t>(o.children.size()));
  out.push_back(static_cast<uint8_t>(o.children.size() >> 8));
  for (const Obj& child : o.children)
    Encode(child, out);
}
// Unpacked design data holding one record for form index 7.
Bytes Design(const Obj& root, size_t cut = 0) {
  Bytes record;
  PutU32(record, rt::kDesignRecordMagic);
  PutU32(record, 0);
  Encode(root, record);
  if (cut) record.resize(record.size() - cut);
  const uint32_t length = static_cast<uint32_t>(record.size());
  for (int i = 0; i < 4; ++i)
    record[4 + i] = static_cast<uint8_t>(length >> (8 * i));
  Bytes data;
  PutU32(data, 1);
  PutU32(data, 7);
  data.insert(data.end(), record.begin(), record.end());
  return data;
}

class TestCompiledForm final : public rt::ComObject<TestCompiledForm, rt::CompiledForm> {
 public:
  explicit TestCompiledForm(size_t slots) : slots_(slots) {}
  int designIndex() override { return index; }
  std::span<ComPtr<IUnknown>> memberSlots() override { return slots_; }
  IDispatch* eventSinkForMember(DISPID member) override {
    if (!sink) {
      sink = rt::MakeComObject<rt::EventSink>(kControlEvents,
                                              [](DISPID, const DISPPARAMS&) { return S_OK; });
    }
    sinkMembers.push_back(member);
    return sink.Get();
  }
  rt::EngineControl* formObject() override {
    return slots_.empty() ? nullptr : QueryInterfaceOf<rt::EngineControl>(slots_[0].Get()).Get();
  }
  template <typename T>
  T* slot(size_t i) {
    return static_cast<T*>(QueryInterfaceOf<rt::EngineControl>(slots_[i].Get()).Get());
  }

  int index = 7;
  ComPtr<rt::EventSink> sink;
  std::vector<DISPID> sinkMembers;

 private:
  std::vector<ComPtr<IUnknown>> slots_;
};

class FormDesignLoader : public forms_test::FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    Created().clear();
    rt::InstallDesignHooks();
  }
  void TearDown() override {
    if (compiled_) rt::DisconnectFormDesign(*compiled_);
    // The engine lets go of its forms while their objects still live.
    FormsTest::TearDown();
    compiled_.Reset();
    Created().clear();
    rt::CurrentDesignTable().clear();
    rt::SetFormLoadHooks({});
  }
  TestCompiledForm& load(const Obj& root, size_t slots, size_t cut = 0) {
    EXPECT_EQ(rt::CurrentDesignTable().installUnpacked(Design(root, cut)), S_OK);
    compiled_ = rt::MakeComObject<TestCompiledForm>(slots);
    EXPECT_EQ(rt::LoadFormDesign(*compiled_), S_OK);
    return *compiled_;
  }

  rt::ScopedClassTable classes_{kClasses};
  ComPtr<TestCompiledForm> compiled_;
};

// A form with a frame of six controls, then a text box after the frame.
Obj FrameOfSix() {
  Obj frame(kFrame);
  for (int i = 0; i < 6; ++i)
    frame.children.push_back({kLabel});
  return Obj{rt::kFormClassId, false, {frame, {kTextBox}}};
}

TEST_F(FormDesignLoader, FrameChildrenTakeTheSlotsRightAfterTheFrame) {
  TestCompiledForm& form = load(FrameOfSix(), 9);
  ASSERT_EQ(Created().size(), 9u);
  for (size_t slot = 0; slot < 9; ++slot) {
    EXPECT_EQ(form.memberSlots()[slot].Get(), Created()[slot].Get()) << slot;
  }
  EXPECT_NE(rt::FindFormState(form.formObject()), nullptr);
}

TEST_F(FormDesignLoader, RecordsFollowTheChildListsNewestFirst) {
  TestCompiledForm& form = load(FrameOfSix(), 9);
  rt::FormState& state = *rt::FindFormState(form.formObject());
  ASSERT_EQ(rt::BuildDesignRecords(state), S_OK);
  const rt::ControlRecord& root = state.root();
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(rt::ObjectOf(*root.children[0]), form.slot<TestControl>(8));  // the text box
  const rt::ControlRecord& frame = *root.children[1];
  EXPECT_EQ(rt::ObjectOf(frame), form.slot<TestControl>(1));
  ASSERT_EQ(frame.children.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(rt::ObjectOf(*frame.children[i]), form.slot<TestControl>(7 - i));
    EXPECT_EQ(frame.children[i]->container, &frame);
  }
  // A second load of the same form builds nothing twice.
  ASSERT_EQ(rt::BuildDesignRecords(state), S_OK);
  EXPECT_EQ(state.records().size(), 9u);
}

TEST_F(FormDesignLoader, EventsConnectToTheSinkOfTheirMemberAndMoveWithTheSlot) {
  const Obj root{rt::kFormClassId, false, {{kLabel}, {kEventful, true}}};
  TestCompiledForm& form = load(root, 3);
  EXPECT_EQ(form.sinkMembers, std::vector<DISPID>{2});
  const ComPtr<IUnknown> first = form.memberSlots()[2];
  auto* firstControl =
      static_cast<EventfulControl*>(QueryInterfaceOf<rt::EngineControl>(first.Get()).Get());
  EXPECT_TRUE(firstControl->hasSinks());

  // Reading the design again into the same slots moves the connection.
  ASSERT_EQ(rt::LoadFormDesign(form), S_OK);
  auto* second = static_cast<EventfulControl*>(
      QueryInterfaceOf<rt::EngineControl>(form.memberSlots()[2].Get()).Get());
  ASSERT_NE(static_cast<void*>(second), static_cast<void*>(firstControl));
  EXPECT_FALSE(firstControl->hasSinks());
  EXPECT_TRUE(second->hasSinks());
}

TEST_F(FormDesignLoader, AFailedReadShowsTheBoxWaitsAndKeepsWhatWasBuilt) {
  platform::ScopedMessageBoxPolicy boxes;
  const uint64_t before = clock_.clock().nowMs();
  TestCompiledForm& form = load(FrameOfSix(), 9, /*cut=*/10);  // the text box is cut short
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, u"Error 9405: Failed to deserialize form");
  EXPECT_EQ(boxes.boxes()[0].caption, u"Kestrelon Internal Error");
  EXPECT_EQ(clock_.clock().nowMs() - before, 1000u);
  EXPECT_TRUE(form.memberSlots()[7]);
  EXPECT_FALSE(form.memberSlots()[8]);
}

TEST_F(FormDesignLoader, FailuresOfTheObjectsEndTheRead) {
  struct Case {
    const char* name;
    Obj root;
    size_t slots;
    size_t boxes;
  };
  const Case cases[] = {
      {"missing class", Obj(rt::kFormClassId, false, {Obj(kUnknownClass)}), 4, 2},
      {"more objects than slots", FrameOfSix(), 5, 1},
      {"root that is no control", Obj(kUnknownClass), 2, 2},
  };
  for (const Case& c : cases) {
    platform::ScopedMessageBoxPolicy boxes;
    load(c.root, c.slots);
    EXPECT_EQ(boxes.boxes().size(), c.boxes) << c.name;
    EXPECT_EQ(boxes.boxes().back().text, u"Error 9405: Failed to deserialize form") << c.name;
    rt::DisconnectFormDesign(*compiled_);
  }
}

int g_assertions = 0;
void CountAssertion(const char*) {
  ++g_assertions;
}

TEST_F(FormDesignLoader, AnEmptyDesignSlotIsAnInternalError) {
  g_assertions = 0;
  const auto previous = rt::SetInternalAssertionHook(&CountAssertion);
  rt::CurrentDesignTable().clear();
  compiled_ = rt::MakeComObject<TestCompiledForm>(1);
  EXPECT_EQ(rt::LoadFormDesign(*compiled_), E_FAIL);
  compiled_->index = 9000;
  EXPECT_EQ(rt::LoadFormDesign(*compiled_), E_FAIL);
  rt::SetInternalAssertionHook(previous);
  EXPECT_EQ(g_assertions, 2);
}

TEST_F(FormDesignLoader, LoadingLaysOutScalesAndParentWindows) {
  TestCompiledForm& form = load(FrameOfSix(), 9);
  rt::FormState& state = *rt::FindFormState(form.formObject());
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.formObject()), S_OK);
  const rt::ControlRecord& frame = *state.root().children[1];
  ASSERT_NE(frame.window.hwnd, nullptr);
  EXPECT_EQ(GetParent(frame.window.hwnd), state.hwnd());
  const rt::ControlRecord& text = *state.root().children[0];
  EXPECT_EQ(text.outerScale.factorX, 15.0);
  EXPECT_EQ(text.innerScale.factorY, 15.0);
  RECT client{};
  GetClientRect(text.window.hwnd, &client);
  EXPECT_EQ(client.right, 5);
}

TEST_F(FormDesignLoader, ControlsKeepingTheirOwnScaleHandItToTheirChildren) {
  TestCompiledForm& form = load(FrameOfSix(), 9);
  rt::FormState& state = *rt::FindFormState(form.formObject());
  // The frame's class keeps a scale of its own; the form's stale scale is reset.
  rt::SetFormLoadHooks({&rt::InstallDesigns, &rt::BuildDesignRecords, [](rt::FormState& s) {
                          rt::ControlRecord& frame = *s.root().children[1];
                          frame.keepsOwnScale = true;
                          frame.innerScale = rt::Scale{1.0, 2.0, 3.0, 4.0};
                          s.root().innerScale = rt::Scale{7, 7, 7, 7};
                          return rt::RunLayoutPass(s);
                        }});
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.formObject()), S_OK);
  const rt::ControlRecord& frame = *state.root().children[1];
  EXPECT_EQ(state.root().innerScale.factorX, 15.0);
  EXPECT_EQ(state.root().innerScale.originX, 0.0);
  EXPECT_EQ(frame.outerScale.factorX, 15.0);
  EXPECT_EQ(frame.innerScale.factorY, 2.0);
  for (const rt::ControlRecord* child : frame.children) {
    EXPECT_EQ(child->outerScale.factorY, 2.0);
    EXPECT_EQ(child->outerScale.originY, 4.0);
    EXPECT_EQ(child->innerScale.factorY, 15.0);
  }
}

TEST_F(FormDesignLoader, HigherResolutionScalesAndRoundsJustBelowOneHalf) {
  platform::ScopedHeadlessDisplay display({1024, 768}, 144);
  TestCompiledForm& form = load(FrameOfSix(), 9);
  rt::FormState& state = *rt::FindFormState(form.formObject());
  ASSERT_EQ(rt::EnsureFormIsLoaded(form.formObject()), S_OK);
  EXPECT_EQ(state.dpi, 144);
  const rt::ControlRecord& text = *state.root().children[0];
  EXPECT_EQ(text.placement.formDpi, 144);
  RECT client{};
  GetClientRect(text.window.hwnd, &client);
  EXPECT_EQ(client.right, 7);  // 5 pixels at 96 are 7.5 at 144: 7.5 + 0.4999 truncates to 7
}

class AddControlTest : public FormDesignLoader {
 protected:
  rt::FormState& loaded() {
    TestCompiledForm& form = load(FrameOfSix(), 9);
    rt::FormState& state = *rt::FindFormState(form.formObject());
    EXPECT_EQ(rt::EnsureFormIsLoaded(form.formObject()), S_OK);
    return state;
  }
};

TEST_F(AddControlTest, ANewControlStartsInvisibleInItsContainer) {
  rt::FormState& state = loaded();
  rt::EngineControl* frame = rt::ObjectOf(*state.root().children[1]);
  ComPtr<rt::EngineControl> added;
  ASSERT_EQ(rt::AddControl(state, u"nx.TEXTBOX", u"txtNew", frame, &added), S_OK);
  ASSERT_TRUE(added);
  const rt::ControlRecord& record = *state.root().children[1]->children.back();
  EXPECT_EQ(rt::ObjectOf(record), added.Get());
  EXPECT_TRUE(record.createdAtRunTime);
  EXPECT_EQ(record.name, u"txtNew");
  ASSERT_NE(record.window.hwnd, nullptr);
  EXPECT_FALSE(IsWindowVisible(record.window.hwnd));
  EXPECT_EQ(GetParent(record.window.hwnd), state.root().children[1]->window.hwnd);
}

TEST_F(AddControlTest, ANameInUseFailsWith727AndCreatesNothing) {
  rt::FormState& state = loaded();
  ComPtr<rt::EngineControl> added;
  ASSERT_EQ(rt::AddControl(state, u"Nx.Label", u"lblOne", nullptr, &added), S_OK);
  const size_t records = state.records().size();
  const size_t created = Created().size();
  EXPECT_EQ(rt::AddControl(state, u"Nx.TextBox", u"LBLONE", nullptr, &added), rt::ErrorStatus(727));
  EXPECT_FALSE(added);
  EXPECT_EQ(state.records().size(), records);
  EXPECT_EQ(Created().size(), created);
  EXPECT_EQ(rt::CurrentErrorContext().error.number, 727);
  EXPECT_EQ(rt::CurrentErrorContext().error.description,
            u"There is already a control with the same name");
}

TEST_F(AddControlTest, MenusUnknownTypesAndForeignContainersFail) {
  rt::FormState& state = loaded();
  ComPtr<rt::EngineControl> added;
  EXPECT_EQ(rt::AddControl(state, u"NX.MENU", u"mnu", nullptr, &added), rt::ErrorStatus(720));
  EXPECT_EQ(rt::CurrentErrorContext().error.number, 720);
  EXPECT_EQ(rt::AddControl(state, u"Nx.Gadget", u"g", nullptr, &added), E_FAIL);
  auto stranger = forms_test::MakeControl("stranger");
  EXPECT_EQ(rt::AddControl(state, u"Nx.Label", u"l", stranger.Get(), &added), E_INVALIDARG);
  EXPECT_FALSE(added);
}

TEST(TypeIds, MapToTheirClassIdentifiersCaseInsensitively) {
  const std::pair<const char16_t*, uint32_t> intrinsic[] = {
      {u"Nx.CommandButton", 0x33AD4EF0}, {u"nx.checkbox", 0x33AD4EF8}, {u"NX.FRAME", 0x33AD4EE8},
      {u"Nx.Timer", 0x33AD4F28},         {u"Nx.Shape", 0x33AD4F80},    {u"Nx.Label", 0x33AD4ED8}};
  for (const auto& [id, data1] : intrinsic) {
    CLSID clsid{};
    ASSERT_EQ(rt::ClassIdOfTypeId(id, &clsid), S_OK);
    EXPECT_EQ(clsid, Intrinsic(data1));
  }
  CLSID clsid{};
  ASSERT_EQ(rt::ClassIdOfTypeId(u"Nx.UpDown", &clsid), S_OK);
  EXPECT_EQ(clsid.Data1, 0x98E78A9Fu);
  EXPECT_EQ(clsid.Data4[7], 0x46);
  EXPECT_EQ(rt::ClassIdOfTypeId(u"Nx.TextBox2", &clsid), E_FAIL);
  EXPECT_EQ(rt::ClassIdOfTypeId(u"Nx.TextBo", &clsid), E_FAIL);
}

}  // namespace
