// The MsgBox function: its texts, caption, owner, argument conversions and
// the Help button.
#include "runtime/core/MessageBoxFunction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DefaultValueObject.h"
#include "ErrorModelTestSupport.h"
#include "platform/dialogs.h"
#include "platform/locale.h"
#include "runtime/core/ApplicationTitle.h"
#include "runtime/core/ThreadErrorContext.h"

namespace rt {
namespace {

using testing::DefaultValueObject;

// MsgBox with the given prompt and title, nothing else.
HRESULT ShowBox(const VARIANT& prompt, LONG buttons, const VARIANT& title, LONG* result) {
  const Variant missing = Variant::Missing();
  return MessageBoxFunction(prompt, buttons, title, missing, missing, result);
}

TEST(MessageBoxFunction, LongPromptAndTitleAreCut) {
  platform::ScopedMessageBoxPolicy boxes;
  std::u16string prompt(2000, u'p');
  prompt[1022] = u'L';
  std::u16string title(1500, u't');
  LONG result = 0;
  ASSERT_EQ(ShowBox(Variant::Str(prompt), MB_OK, Variant::Str(title), &result), S_OK);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text.size(), 1023u);
  EXPECT_EQ(boxes.boxes()[0].text.back(), u'L');
  EXPECT_EQ(boxes.boxes()[0].caption, std::u16string(1023, u't'));
  EXPECT_EQ(result, IDOK);
}

TEST(MessageBoxFunction, CaptionIsTheTitleOrTheApplicationTitle) {
  platform::ScopedMessageBoxPolicy boxes;
  LONG result = 0;
  const Variant prompt = Variant::Str(u"Settings file not found, using defaults...");
  ASSERT_EQ(ShowBox(prompt, MB_OK, Variant::Missing(), &result), S_OK);
  ASSERT_EQ(ShowBox(prompt, MB_OK, Variant::Str(u"Setting file error"), &result), S_OK);
  ApplicationTitle::Publish(u"");
  ASSERT_EQ(ShowBox(prompt, MB_OK, Variant::Missing(), &result), S_OK);
  ApplicationTitle::Publish(ApplicationTitle::kProjectName);
  ASSERT_EQ(ShowBox(Variant::Missing(), MB_OK, Variant::Missing(), &result), S_OK);
  const auto shown = boxes.boxes();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].caption, u"Plumbridge");
  EXPECT_EQ(shown[0].text, u"Settings file not found, using defaults...");
  EXPECT_EQ(shown[1].caption, u"Setting file error");
  EXPECT_EQ(shown[2].caption, u"");
  EXPECT_EQ(shown[3].text, u"");  // a missing prompt
}

TEST(MessageBoxFunction, ButtonsGoUnchangedAndTheAnswerComesBack) {
  platform::ScopedMessageBoxPolicy boxes(
      [](const platform::MessageBoxRecord&, const platform::MessageBoxActions&) { return IDNO; });
  LONG result = 0;
  const LONG style = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
  ASSERT_EQ(ShowBox(Variant::Str(u"Send again?"), style, Variant::Missing(), &result), S_OK);
  EXPECT_EQ(result, IDNO);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].style, static_cast<UINT>(style));
  EXPECT_EQ(boxes.boxes()[0].owner, nullptr);  // the forms engine has set no owner
}

HWND g_ownerWindow = reinterpret_cast<HWND>(0x1234);
HWND ownerForm() {
  return g_ownerWindow;
}

TEST(MessageBoxFunction, OwnerIsTheFormsEnginesDefaultOwner) {
  platform::ScopedMessageBoxPolicy boxes;
  SetMessageBoxOwnerSource(&ownerForm);
  LONG result = 0;
  ASSERT_EQ(ShowBox(Variant::Str(u"x"), MB_OK, Variant::Missing(), &result), S_OK);
  SetMessageBoxOwnerSource(nullptr);
  ASSERT_EQ(boxes.boxes().size(), 1u);
  EXPECT_EQ(boxes.boxes()[0].owner, g_ownerWindow);
}

TEST(MessageBoxFunction, ArgumentsAreConvertedOrRefused) {
  platform::ScopedUserLocale english(0x0409);
  DefaultValueObject object(Variant::I4(42));
  BSTR referenced = SysAllocString(u"by reference");
  Variant byReference;
  byReference.vt = VT_BSTR | VT_BYREF;
  byReference.pbstrVal = &referenced;
  Variant array;
  array.vt = VT_ARRAY | VT_I4;
  array.parray = SafeArrayCreateVector(VT_I4, 0, 1);
  struct Case {
    const char* what;
    Variant prompt;
    HRESULT status;
    const char16_t* shown;  // null: no box
  } cases[] = {
      {"a string by reference", byReference, S_OK, u"by reference"},
      {"a number", Variant::I4(-7), S_OK, u"-7"},
      {"a real", Variant::R8(0.5), S_OK, u"0.5"},
      {"a Boolean as a word", Variant::Bool(true), S_OK, u"True"},
      {"an object by its default value", object.asArgument(), S_OK, u"42"},
      {"Null", Variant::Null(), static_cast<HRESULT>(0x800A005E), nullptr},
      {"a null object", testing::NullObjectArgument(), static_cast<HRESULT>(0x800A005B), nullptr},
      {"an array", array, DISP_E_TYPEMISMATCH, nullptr},
  };
  for (const Case& c : cases) {
    platform::ScopedMessageBoxPolicy boxes;
    LONG result = 0;
    EXPECT_EQ(ShowBox(c.prompt, MB_OK, Variant::Missing(), &result), c.status) << c.what;
    const auto shown = boxes.boxes();
    ASSERT_EQ(shown.size(), c.shown ? 1u : 0u) << c.what;
    if (c.shown) {
      EXPECT_EQ(shown[0].text, c.shown) << c.what;
    }
  }
  EXPECT_EQ(object.lastFlags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  SysFreeString(referenced);
}

TEST(MessageBoxFunction, NullTitleOrContextFailsBeforeTheBox) {
  platform::ScopedMessageBoxPolicy boxes;
  LONG result = 0;
  const Variant prompt = Variant::Str(u"x");
  const Variant missing = Variant::Missing();
  EXPECT_EQ(MessageBoxFunction(prompt, MB_OK, Variant::Null(), missing, missing, &result),
            static_cast<HRESULT>(0x800A005E));
  EXPECT_EQ(MessageBoxFunction(prompt, MB_OK, missing, missing, Variant::Str(u"topic"), &result),
            DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(boxes.boxes().empty());
}

// ---------------------------------------------------------------------------
// The Help button
// ---------------------------------------------------------------------------

struct HelpRequest {
  std::u16string file;
  UINT command;
  ULONG_PTR data;
};
std::vector<HelpRequest> g_helpRequests;

// Notes the request and hands it on to the platform, which has no viewer.
BOOL recordingViewer(HWND owner, LPCWSTR file, UINT command, ULONG_PTR data) {
  g_helpRequests.push_back({file ? file : u"", command, data});
  return WinHelpW(owner, file, command, data);
}

TEST(MessageBoxFunction, HelpButtonOpensTheHelpFileAtTheContext) {
  struct Case {
    Variant context;
    UINT command;
    ULONG_PTR data;
  } cases[] = {
      {Variant::I4(0), HELP_FINDER, 0},
      {Variant::Missing(), HELP_FINDER, 0},
      {Variant::I4(42), HELP_CONTEXT, 42},
      {Variant::Str(u"42"), HELP_CONTEXT, 42},
  };
  for (const Case& c : cases) {
    testing::OnFreshThread([&] {
      g_helpRequests.clear();
      SetMessageBoxHelpViewer(&recordingViewer);
      platform::ScopedMessageBoxPolicy boxes(
          [](const platform::MessageBoxRecord& box, const platform::MessageBoxActions& actions) {
            if (box.caption != u"Help file error") actions.pressHelp();
            return IDOK;
          });
      LONG result = 0;
      ASSERT_EQ(MessageBoxFunction(Variant::Str(u"Need help?"), MB_OK | MB_HELP, Variant::Missing(),
                                   Variant::Str(u"skiffwire.hlp"), c.context, &result),
                S_OK);
      SetMessageBoxHelpViewer(nullptr);
      EXPECT_EQ(result, IDOK);
      ASSERT_EQ(g_helpRequests.size(), 1u);
      EXPECT_EQ(g_helpRequests[0].file, u"skiffwire.hlp");
      EXPECT_EQ(g_helpRequests[0].command, c.command);
      EXPECT_EQ(g_helpRequests[0].data, c.data);
      EXPECT_EQ(CurrentErrorContext().messageBoxHelpFile.view(), u"skiffwire.hlp");

      // No help viewer here: the failure has a box of its own, while the
      // message box itself stays.
      const auto shown = boxes.boxes();
      ASSERT_EQ(shown.size(), 2u);
      EXPECT_EQ(shown[0].caption, u"Plumbridge");
      EXPECT_EQ(shown[1].text, u"Unable to display help");
      EXPECT_EQ(shown[1].caption, u"Help file error");
      EXPECT_EQ(shown[1].style, MB_OK);
      EXPECT_EQ(shown[1].owner, nullptr);
    });
  }
}

}  // namespace
}  // namespace rt
