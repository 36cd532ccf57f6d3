// The Frame reaching the windows of its children by name, through its
// form's controls collection.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "ControlsTestSupport.h"
#include "runtime/controls/CommandButton.h"
#include "runtime/controls/Frame.h"
#include "runtime/controls/Label.h"
#include "runtime/controls/TextBox.h"
#include "runtime/core/Status.h"

namespace controls_test {
namespace {

// An object answering a few names by late binding.
class ByName : public rt::ComObject<ByName, IDispatch, rt::EngineControl> {
 public:
  using Get = std::function<HRESULT(DISPPARAMS*, VARIANT*)>;
  std::map<std::u16string, Get> members;

  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    DISPID id = 1;
    for (const auto& [name, get] : members) {
      if (name == names[0]) {
        *ids = id;
        return S_OK;
      }
      ++id;
    }
    *ids = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                 UINT*) override {
    for (auto& [name, get] : members) {
      if (--id == 0) return get(params, result);
    }
    return DISP_E_MEMBERNOTFOUND;
  }

  void attachRecord(rt::ControlRecord&) override {}
  HRESULT fillWindowRecord(rt::WindowRecord&) override { return S_OK; }
  HRESULT raiseEvent(DISPID, std::span<Variant>) override { return S_OK; }
};

void PutObject(VARIANT* result, IDispatch* object) {
  object->AddRef();
  result->vt = VT_DISPATCH;
  result->pdispVal = object;
}

class FrameChildren : public ControlsTest {
 protected:
  // Stands in for the form as everyone's Parent: its "Controls" lists the
  // given controls by position.
  void giveTheFormAControlsCollection(std::vector<IDispatch*> controls) {
    controls_ = rt::MakeComObject<ByName>();
    controls_->members[u"Count"] = [controls](DISPPARAMS*, VARIANT* result) {
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(controls.size());
      return S_OK;
    };
    controls_->members[u"Item"] = [controls](DISPPARAMS* params, VARIANT* result) {
      const LONG at = params->rgvarg[0].lVal;
      if (at < 0 || at >= static_cast<LONG>(controls.size())) return rt::ErrorStatus(9);
      PutObject(result, controls[static_cast<size_t>(at)]);
      return S_OK;
    };
    parent_ = rt::MakeComObject<ByName>();
    parent_->members[u"Controls"] = [this](DISPPARAMS*, VARIANT* result) {
      PutObject(result, controls_.Get());
      return S_OK;
    };
    state_ = rt::FormStateOf(form_.Get());
    realForm_ = state_->formObject;
    state_->formObject = parent_.Get();
  }
  void TearDown() override {
    if (state_) state_->formObject = realForm_;
    ControlsTest::TearDown();
  }

  ComPtr<rt::Form> form_ = makeForm();
  ComPtr<ByName> parent_;
  ComPtr<ByName> controls_;
  rt::FormState* state_ = nullptr;
  rt::EngineControl* realForm_ = nullptr;
};

TEST_F(FrameChildren, TheFrameFindsTheWindowsOfTheControlsPlacedInIt) {
  auto frame = place<rt::Frame>(*form_, 150, 150, 3000, 2000);
  auto inside = place<rt::CommandButton>(*form_, 150, 300, 1200, 375, frame.Get());
  auto box = place<rt::TextBox>(*form_, 150, 800, 1200, 375, frame.Get());
  auto label = place<rt::Label>(*form_, 150, 1300, 1200, 255, frame.Get());
  auto outside = place<rt::CommandButton>(*form_, 3500, 300, 1200, 375);
  ASSERT_EQ(rt::Show(form_.Get(), 0, nullptr), S_OK);
  settle();

  // On a form without a controls collection the lookup fails, and says so.
  std::vector<HWND> found;
  EXPECT_TRUE(FAILED(frame->childWindows(found)));
  EXPECT_TRUE(found.empty());

  giveTheFormAControlsCollection({frame->dispatch(), outside->dispatch(), inside->dispatch(),
                                  label->dispatch(), box->dispatch()});
  ASSERT_EQ(frame->childWindows(found), S_OK);
  EXPECT_EQ(found, (std::vector<HWND>{inside->hwnd(), box->hwnd()}));
  // The frame's ClipControls change reaches them without a failure.
  EXPECT_EQ(PutByName(frame->dispatch(), u"ClipControls", Variant::Bool(false)), S_OK);
}

}  // namespace
}  // namespace controls_test
