// Control arrays and the controls collection over a fake form engine: the
// element table, bounds and count, loading and unloading elements with
// their run-time errors, the one-shot routing through Item, dispatch names,
// enumeration, and lookup by position and by name.
#include "runtime/forms/arrays/ControlArray.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "runtime/core/ThreadErrorContext.h"
#include "runtime/forms/arrays/ArrayRouting.h"
#include "runtime/forms/arrays/ControlsCollection.h"
#include "runtime/forms/arrays/ElementEnumerator.h"

namespace rt {
namespace {

// A control: its name, whether it was made at run time, and a default value.
class FakeControl final : public ComObject<FakeControl, IDispatch> {
 public:
  FakeControl(std::u16string name, bool runTime, LONG value = 0)
      : name(std::move(name)), runTime(runTime), value(value) {}
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                 UINT*) override {
    if (id != DISPID_VALUE || !result) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    result->vt = VT_I4;
    result->lVal = value;
    return S_OK;
  }
  std::u16string name;
  bool runTime;
  LONG value;
};

FakeControl* AsFake(IUnknown* object) {
  return static_cast<FakeControl*>(static_cast<IDispatch*>(object));
}

// The engine's side: records what the arrays and the collection ask of it.
struct FakeEngine : ControlArrayHost, ControlsCollectionHost {
  HRESULT ensureFormLoaded() override {
    ++loads;
    return S_OK;
  }
  HRESULT createElement(IUnknown* templateElement, REFCLSID, const IID* events, LONG index,
                        IUnknown** element) override {
    if (failCreation) return E_OUTOFMEMORY;
    created.push_back(index);
    connected += events ? 1 : 0;
    ComPtr<FakeControl> made = MakeComObject<FakeControl>(AsFake(templateElement)->name, true);
    *element = made->unknown();
    (*element)->AddRef();
    return S_OK;
  }
  bool createdAtRunTime(IUnknown* element) override { return AsFake(element)->runTime; }
  void removeElement(IUnknown*) override { ++removed; }
  void elementAdded(IUnknown*) override { ++added; }
  void elementRemoved(IUnknown*) override { ++gone; }

  std::u16string nameOf(IUnknown* control) override { return AsFake(control)->name; }
  ControlArray* arrayOf(IUnknown* control) override {
    auto found = arrays.find(AsFake(control)->name);
    return found == arrays.end() ? nullptr : found->second;
  }
  bool isEngineControl(IUnknown*) override { return true; }
  void removeControl(IUnknown*) override { ++removed; }

  bool keepsTable(const ControlArray&) override { return tableKept; }

  int loads = 0, connected = 0, removed = 0, added = 0, gone = 0;
  bool failCreation = false;
  bool tableKept = true;
  std::vector<LONG> created;
  std::map<std::u16string, ControlArray*> arrays;
};

LONG ErrorNumber() {
  return CurrentErrorContext().error.number;
}
std::u16string ErrorText() {
  const Bstr& text = CurrentErrorContext().error.description;
  return std::u16string(text.get() ? text.get() : u"", text.length());
}

// Each test on a thread of its own: the error context and the routing flags
// are per thread.
template <typename Fn>
void OnFreshThread(Fn fn) {
  std::thread(fn).join();
}

struct ArrayWithElementZero {
  FakeEngine engine;
  ComPtr<ControlArray> array = MakeComObject<ControlArray>(engine, IID_NULL, nullptr);
  ArrayWithElementZero() {
    array->addDesignedElement(0, MakeComObject<FakeControl>(u"lblTitle", false)->unknown());
  }
  LONG count() {
    LONG n = -1;
    array->get_Count(&n);
    return n;
  }
  LONG upper() {
    LONG n = -2;
    array->get_UBound(&n);
    return n;
  }
};

TEST(ControlArray, LoadingBeyondTheEndGrowsTheTable) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    ASSERT_EQ(a.array->loadElement(5), S_OK);
    EXPECT_EQ(a.array->tableLength(), 6);
    EXPECT_EQ(a.upper(), 5);
    EXPECT_EQ(a.count(), 2);
    LONG lower = -1;
    a.array->get_LBound(&lower);
    EXPECT_EQ(lower, 0);
    for (LONG i = 1; i <= 4; ++i) {
      ComPtr<IDispatch> element;
      EXPECT_EQ(a.array->Item(i, &element), static_cast<HRESULT>(0x800A0154)) << i;
      EXPECT_EQ(ErrorNumber(), 340);
      EXPECT_EQ(ErrorText(), u"Control array element does not exist");
    }
    ComPtr<IDispatch> five;
    ASSERT_EQ(a.array->Item(5, &five), S_OK);
    // The new element takes its template's name.
    EXPECT_EQ(AsFake(five.Get())->name, u"lblTitle");
    EXPECT_EQ(a.engine.created, std::vector<LONG>{5});
  });
}

TEST(ControlArray, UnloadingFromAnArrayItsFormNoLongerKeepsFails) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    ASSERT_EQ(a.array->loadElement(1), S_OK);
    a.engine.tableKept = false;
    EXPECT_EQ(a.array->unloadElement(1), E_FAIL);
    EXPECT_EQ(a.count(), 2);
    EXPECT_EQ(a.engine.removed, 0);
  });
}

TEST(ControlArray, LoadAndUnloadErrors) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    const struct {
      const char* what;
      HRESULT (ControlArray::*operation)(LONG);
      LONG index;
      LONG number;
      std::u16string_view text;
    } cases[] = {
        {"load negative", &ControlArray::loadElement, -1, 341, u"Invalid control array index"},
        {"load existing", &ControlArray::loadElement, 0, 360, u"Object already loaded"},
        {"unload negative", &ControlArray::unloadElement, -1, 341, u"Invalid control array index"},
        {"unload missing", &ControlArray::unloadElement, 3, 340,
         u"Control array element doesn't exist"},
        {"unload designed", &ControlArray::unloadElement, 0, 362,
         u"Can't unload controls created at design time"},
    };
    for (const auto& c : cases) {
      const HRESULT hr = ((*a.array).*c.operation)(c.index);
      EXPECT_EQ(hr, static_cast<HRESULT>(0x800A0000 + c.number)) << c.what;
      EXPECT_EQ(ErrorNumber(), c.number) << c.what;
      EXPECT_EQ(ErrorText(), c.text) << c.what;
      // A failing call leaves the array as it was.
      EXPECT_EQ(a.count(), 1) << c.what;
      EXPECT_EQ(a.array->tableLength(), 1) << c.what;
    }
    EXPECT_TRUE(a.engine.created.empty());
  });
}

TEST(ControlArray, UnloadingALoadedElementClearsItsSlot) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    ASSERT_EQ(a.array->loadElement(2), S_OK);
    ASSERT_EQ(a.array->unloadElement(2), S_OK);
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(a.array->elementAt(2), nullptr);
    // The table and the upper bound stay as they grew.
    EXPECT_EQ(a.upper(), 2);
    EXPECT_EQ(a.engine.removed, 1);
    // Loadable again.
    EXPECT_EQ(a.array->loadElement(2), S_OK);
  });
}

TEST(ControlArray, AFailedCreationChangesNothing) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    a.engine.failCreation = true;
    EXPECT_EQ(a.array->loadElement(4), E_OUTOFMEMORY);
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(a.upper(), 0);
    EXPECT_EQ(a.array->tableLength(), 1);
  });
}

TEST(ControlArray, AnEmptyArrayHasNoTemplate) {
  OnFreshThread([] {
    FakeEngine engine;
    ComPtr<ControlArray> array = MakeComObject<ControlArray>(engine, IID_NULL, nullptr);
    EXPECT_EQ(array->loadElement(0), E_FAIL);
    LONG upper = 0;
    array->get_UBound(&upper);
    EXPECT_EQ(upper, -1);
  });
}

TEST(ControlArray, TheOneShotFlagsRouteItemToLoadAndUnload) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    ASSERT_EQ(LoadArrayElement(*a.array, 1), S_OK);
    EXPECT_EQ(a.count(), 2);
    // Both flags are cleared by that call: Item returns elements again.
    ComPtr<IDispatch> element;
    EXPECT_EQ(a.array->Item(1, &element), S_OK);
    EXPECT_NE(element.Get(), nullptr);
    ASSERT_EQ(UnloadArrayElement(*a.array, 1), S_OK);
    EXPECT_EQ(a.count(), 1);
    EXPECT_EQ(TakeArrayRoute(), ArrayRoute::None);
    // The routed load answers errors like the statement's own.
    EXPECT_EQ(LoadArrayElement(*a.array, 0), static_cast<HRESULT>(0x800A0168));
    EXPECT_GT(a.engine.loads, 0);
  });
}

TEST(ControlArray, EventsAndNotificationsFollowTheClass) {
  OnFreshThread([] {
    FakeEngine engine;
    const IID events = IID_IDispatch;
    ComPtr<ControlArray> array =
        MakeComObject<ControlArray>(engine, CLSID_NotifyingArrayElement, &events);
    array->addDesignedElement(0, MakeComObject<FakeControl>(u"x", false)->unknown());
    ASSERT_EQ(array->loadElement(1), S_OK);
    ASSERT_EQ(array->unloadElement(1), S_OK);
    EXPECT_EQ(engine.connected, 1);
    EXPECT_EQ(engine.added, 1);
    EXPECT_EQ(engine.gone, 1);
  });
}

TEST(ControlArray, DispatchNamesOneAtATimeInAnyCase) {
  ArrayWithElementZero a;
  const struct {
    const char16_t* name;
    DISPID id;
  } cases[] = {{u"Item", 0},         {u"item", 0},   {u"Count", 1},
               {u"count", 1},        {u"COUNT", 1},  {u"LBound", 2},
               {u"lbound", 2},       {u"UBound", 3}, {u"Counts", DISPID_UNKNOWN},
               {u"", DISPID_UNKNOWN}};
  for (const auto& c : cases) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    DISPID id = 99;
    const HRESULT hr = a.array->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    EXPECT_EQ(id, c.id) << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
    EXPECT_EQ(hr, c.id == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK);
  }
  LPOLESTR two[] = {const_cast<LPOLESTR>(u"Item"), const_cast<LPOLESTR>(u"Index")};
  DISPID ids[2];
  EXPECT_EQ(a.array->GetIDsOfNames(IID_NULL, two, 2, 0, ids), DISP_E_UNKNOWNNAME);
}

TEST(ControlArray, InvokeAnswersCountBoundsAndItems) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    a.array->loadElement(3);
    DISPPARAMS none{};
    Variant result;
    ASSERT_EQ(a.array->Invoke(ControlArray::kCount, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                              result.out(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 2);
    ASSERT_EQ(a.array->Invoke(ControlArray::kUBound, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                              result.out(), nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.lVal, 3);
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I2;
    index.iVal = 3;
    DISPPARAMS one{&index, nullptr, 1, 0};
    ASSERT_EQ(a.array->Invoke(ControlArray::kItem, IID_NULL, 0, DISPATCH_METHOD, &one, result.out(),
                              nullptr, nullptr),
              S_OK);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    EXPECT_EQ(result.pdispVal, a.array->elementAt(3));
  });
}

TEST(ControlArray, EnumerationSkipsEmptySlots) {
  OnFreshThread([] {
    ArrayWithElementZero a;
    a.array->loadElement(2);
    a.array->loadElement(5);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(a.array->newEnum(&unknown), S_OK);
    ComPtr<IEnumVARIANT> enumerator;
    ASSERT_EQ(unknown.As(enumerator), S_OK);
    VARIANT items[4];
    ULONG fetched = 0;
    EXPECT_EQ(enumerator->Next(4, items, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3u);
    const LONG expected[] = {0, 2, 5};
    for (ULONG i = 0; i < fetched; ++i) {
      EXPECT_EQ(items[i].vt, VT_DISPATCH);
      EXPECT_EQ(static_cast<IUnknown*>(items[i].pdispVal), a.array->elementAt(expected[i]));
      VariantClear(&items[i]);
    }
    enumerator->Reset();
    EXPECT_EQ(enumerator->Skip(2), S_OK);
    ComPtr<IEnumVARIANT> copy;
    ASSERT_EQ(enumerator->Clone(&copy), S_OK);
    EXPECT_EQ(copy->Next(1, items, &fetched), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(items[0].pdispVal), a.array->elementAt(5));
    VariantClear(&items[0]);
  });
}

// ---- The controls collection

struct FormWithControls {
  FakeEngine engine;
  std::vector<ComPtr<IUnknown>> slots;
  ComPtr<ControlArray> titles = MakeComObject<ControlArray>(engine, IID_NULL, nullptr);
  ComPtr<ControlsCollection> controls;
  FormWithControls() {
    for (auto [name, value] : {std::pair{u"txtPort", 8}, std::pair{u"lblTitle", 1},
                               std::pair{u"cmdConnect", 2}, std::pair{u"lblTitle", 3}}) {
      slots.emplace_back(MakeComObject<FakeControl>(name, false, value)->unknown());
    }
    titles->addDesignedElement(0, slots[1].Get());
    titles->addDesignedElement(1, slots[3].Get());
    engine.arrays[u"lblTitle"] = titles.Get();
    controls = MakeComObject<ControlsCollection>(engine, slots);
  }
  HRESULT item(const Variant& index, ComPtr<IDispatch>& out) { return controls->item(index, &out); }
};

TEST(ControlsCollection, ByPositionAndByName) {
  OnFreshThread([] {
    FormWithControls form;
    ComPtr<FakeControl> added = MakeComObject<FakeControl>(u"Ｔｘｔｎｅｗ", true);
    form.controls->addRunTimeControl(added->unknown());
    EXPECT_EQ(form.controls->count(), 5);
    const struct {
      Variant index;
      IUnknown* expected;
    } cases[] = {
        {Variant::I4(0), form.slots[0].Get()},
        {Variant::Str(u"3"), nullptr},  // a text is a name, never a number
        {Variant::I4(4), added->unknown()},
        {Variant::Str(u"CMDCONNECT"), form.slots[2].Get()},
        {Variant::Str(u"txtport"), form.slots[0].Get()},
        // Character width does not count.
        {Variant::Str(u"TXTNEW"), added->unknown()},
        // An array member's name answers the array.
        {Variant::Str(u"LblTitle"), form.titles->unknown()},
    };
    for (const auto& c : cases) {
      ComPtr<IDispatch> control;
      const HRESULT hr = form.item(c.index, control);
      if (!c.expected) {
        EXPECT_EQ(hr, static_cast<HRESULT>(0x800A02DB));
        continue;
      }
      ASSERT_EQ(hr, S_OK);
      EXPECT_EQ(static_cast<IUnknown*>(control.Get()), c.expected);
    }
  });
}

TEST(ControlsCollection, Errors) {
  OnFreshThread([] {
    FormWithControls form;
    Variant null;
    null.vt = VT_NULL;
    Variant nothing;
    nothing.vt = VT_DISPATCH;
    nothing.pdispVal = nullptr;
    const struct {
      const char* what;
      Variant index;
      HRESULT status;
      std::u16string_view text;
    } cases[] = {
        {"missing name", Variant::Str(u"txtNope"), static_cast<HRESULT>(0x800A02DB),
         u"Control 'txtNope' not found"},
        {"negative", Variant::I4(-1), static_cast<HRESULT>(0x800A0009), u""},
        {"past the end", Variant::I4(4), static_cast<HRESULT>(0x800A0009), u""},
        {"null", null, static_cast<HRESULT>(0x800A005E), u""},
        {"nothing", nothing, static_cast<HRESULT>(0x800A005B), u""},
        {"empty name", Variant::Str(u""), E_FAIL, u""},
    };
    for (const auto& c : cases) {
      ComPtr<IDispatch> control;
      EXPECT_EQ(form.item(c.index, control), c.status) << c.what;
      if (!c.text.empty()) {
        EXPECT_EQ(ErrorText(), c.text) << c.what;
      }
    }
  });
}

TEST(ControlsCollection, AnObjectIndexUsesItsDefaultValue) {
  OnFreshThread([] {
    FormWithControls form;
    ComPtr<FakeControl> two = MakeComObject<FakeControl>(u"x", false, 2);
    Variant index;
    index.vt = VT_DISPATCH;
    index.pdispVal = two.Get();
    two->AddRef();
    ComPtr<IDispatch> control;
    ASSERT_EQ(form.item(index, control), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(control.Get()), form.slots[2].Get());
  });
}

TEST(ControlsCollection, OnlyRunTimeControlsAreRemoved) {
  OnFreshThread([] {
    FormWithControls form;
    ComPtr<FakeControl> added = MakeComObject<FakeControl>(u"txtNew", true);
    form.controls->addRunTimeControl(added->unknown());
    EXPECT_EQ(form.controls->remove(Variant::Str(u"txtPort")), static_cast<HRESULT>(0x800A016A));
    EXPECT_EQ(ErrorText(), u"Can't unload controls created at design time");
    EXPECT_EQ(form.controls->remove(Variant::Str(u"txtnew")), S_OK);
    EXPECT_EQ(form.controls->count(), 4);
    EXPECT_EQ(form.engine.removed, 1);
  });
}

}  // namespace
}  // namespace rt
