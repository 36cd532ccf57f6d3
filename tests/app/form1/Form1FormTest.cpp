// Form1's compiled form class: the handler table (which member's sink runs
// which procedure), "Show" and the other form members forwarded by name to
// the Form object, and binding the slots to Form1's procedures.
#include "app/form1/Form1Form.h"

#include <gtest/gtest.h>

#include "Form1TestSupport.h"

namespace skiffwire::testing {
namespace {

TEST(Form1Form, SinksOnlyForTheHandledMembers) {
  ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(nullptr);
  const struct {
    DISPID id;
    bool handled;
  } cases[] = {
      {member::Form1, true},
      {member::cmdConnect, true},
      {member::cmdSendDataGram, true},
      {member::cmdString, true},
      {member::cmdClear, true},
      {member::cmdClearDatagram, true},
      {member::cmdSaveSettings, true},
      {member::txtDatagram, true},
      {member::txtPacketLen, true},
      {member::sckServer, true},
      {member::tmrTimeout, true},
      {member::sckClient, false},
      {member::txtIpAddress, false},
      {member::chkSTX, false},
      {member::lblChecksum, false},
      {member::txtProcess, false},
      {member::lblTitle, false},
      {1, false},
      {static_cast<DISPID>(member::kCount), false},
  };
  int handled = 0;
  for (const auto& c : cases) {
    IDispatch* sink = form->eventSinkForMember(c.id);
    EXPECT_EQ(sink != nullptr, c.handled) << c.id;
    if (sink) {
      ++handled;
      // The same sink every time: the loader may ask more than once.
      EXPECT_EQ(sink, form->eventSinkForMember(c.id));
    }
  }
  EXPECT_EQ(handled, 11);
  EXPECT_EQ(form->designIndex(), 0);
  EXPECT_EQ(form->memberSlots().size(), member::kCount);
}

TEST(Form1Form, BindingNeedsEveryMemberTheProceduresUse) {
  OnFreshThread([] {
    ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(nullptr);
    EXPECT_EQ(form->bind(), E_NOINTERFACE);
    EXPECT_EQ(form->code(), nullptr);
    // An event before binding reaches nobody and fails nothing.
    DISPPARAMS none{};
    EXPECT_EQ(S_OK, form->eventSinkForMember(member::cmdConnect)
                        ->Invoke(kClickEvent, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                                 nullptr));
  });
}

TEST(Form1Form, TheDesignConnectsAllElevenSources) {
  OnFreshThread([] {
    TestApp app;
    EXPECT_EQ(S_OK, app.ui.status());
    ASSERT_NE(app.ui.compiledForm().code(), nullptr);
  });
}

TEST(Form1Form, EventsOfEachMemberRunTheirHandler) {
  OnFreshThread([] {
    TestApp app;
    app.ui.load();
    EXPECT_EQ(app.ui.form->caption(), u"Skiffwire Ver1.0a");
    app.ui.txtDatagram->type(u"abc");
    EXPECT_EQ(app.ui.lblDatagramLength->caption(), u"3");
    app.ui.cmdClearDatagram->click();
    EXPECT_EQ(app.ui.lblDatagramLength->caption(), u"0");
    EXPECT_EQ(app.ui.lblChecksum->caption(), u"00");
  });
}

// A Form object that answers "Show" and counts the calls.
class ShowCounter final : public rt::ComObject<ShowCounter, IDispatch> {
 public:
  HRESULT GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID, DISPID* ids) override {
    if (std::u16string_view(names[0]) != u"Show") return DISP_E_UNKNOWNNAME;
    ids[0] = 0x60030000;
    return S_OK;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    if (id != 0x60030000) return DISP_E_MEMBERNOTFOUND;
    ++shows;
    return S_OK;
  }
  int shows = 0;
};

TEST(Form1Form, FormMembersAreForwardedToTheFormObject) {
  ComPtr<Form1Form> form = rt::MakeComObject<Form1Form>(nullptr);
  LPOLESTR show[] = {const_cast<LPOLESTR>(u"Show")};
  DISPID id = DISPID_UNKNOWN;
  // No Form object yet: nothing answers.
  EXPECT_EQ(form->GetIDsOfNames(IID_NULL, show, 1, 0, &id), DISP_E_UNKNOWNNAME);
  ComPtr<ShowCounter> counter = rt::MakeComObject<ShowCounter>();
  form->memberSlots()[member::Form1] = counter->unknown();
  ASSERT_EQ(S_OK, form->GetIDsOfNames(IID_NULL, show, 1, 0, &id));
  DISPPARAMS none{};
  ASSERT_EQ(S_OK, form->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  EXPECT_EQ(counter->shows, 1);
  // The counter is no engine control.
  EXPECT_EQ(form->formObject(), nullptr);
}

}  // namespace
}  // namespace skiffwire::testing
