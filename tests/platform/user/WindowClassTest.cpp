#include <gtest/gtest.h>

#include "WindowTestSupport.h"
#include "platform/kernel.h"

namespace windowing_test {
namespace {

using WindowClasses = WindowTest;

WNDPROC g_editProc = nullptr;
LRESULT textBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(g_editProc, hwnd, message, wParam, lParam);
}

HINSTANCE instance(intptr_t value) {
  return reinterpret_cast<HINSTANCE>(value);
}

TEST_F(WindowClasses, SystemClassesAreRegisteredWithTheirCursors) {
  struct Case {
    const char16_t* name;
    LPCWSTR cursor;
  };
  const Case cases[] = {{u"BUTTON", IDC_ARROW},    {u"EDIT", IDC_IBEAM},
                        {u"STATIC", IDC_ARROW},    {u"SCROLLBAR", IDC_ARROW},
                        {u"LISTBOX", IDC_ARROW},   {u"COMBOBOX", IDC_ARROW},
                        {u"mdiclient", IDC_ARROW}, {u"edit", IDC_IBEAM}};
  for (const Case& c : cases) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(nullptr, c.name, &wc)) << static_cast<int>(c.name[0]);
    EXPECT_EQ(wc.hCursor, LoadCursorW(nullptr, c.cursor));
    EXPECT_NE(wc.lpfnWndProc, nullptr);
    EXPECT_TRUE(wc.style & CS_GLOBALCLASS);
  }
  WNDCLASSEXW mdi{};
  GetClassInfoExW(nullptr, u"MDICLIENT", &mdi);
  EXPECT_EQ(mdi.hbrBackground,
            reinterpret_cast<HBRUSH>(static_cast<intptr_t>(COLOR_APPWORKSPACE + 1)));
  EXPECT_FALSE(UnregisterClassW(u"EDIT", nullptr));
}

TEST_F(WindowClasses, SuperclassKeepsTheBaseCursorAndExtraBytes) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExW(nullptr, u"EDIT", &wc));
  g_editProc = wc.lpfnWndProc;
  int baseExtra = wc.cbWndExtra;
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = textBoxProc;
  wc.hInstance = instance(0x400000);
  wc.lpszClassName = u"TestSuperTextBox";
  ATOM atom = RegisterClassExW(&wc);
  ASSERT_NE(atom, 0);

  HWND parent = createTop();
  HWND box = CreateWindowExW(0, u"TestSuperTextBox", u"abc", WS_CHILD, 0, 0, 50, 20, parent,
                             nullptr, instance(0x400000), nullptr);
  ASSERT_TRUE(box);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(box, GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_IBEAM));
  EXPECT_EQ(static_cast<int>(GetClassLongPtrW(box, GCL_CBWNDEXTRA)), baseExtra);
  EXPECT_EQ(GetClassLongPtrW(box, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  EXPECT_EQ(GetClassLongPtrW(box, GCW_ATOM), atom);
  WCHAR name[32];
  EXPECT_EQ(GetClassNameW(box, name, 32), 16);
  EXPECT_EQ(std::u16string(name), u"TestSuperTextBox");
  WCHAR text[8];
  GetWindowTextW(box, text, 8);
  EXPECT_EQ(std::u16string(text), u"abc");  // the forwarded default stores the text

  EXPECT_FALSE(UnregisterClassW(u"TestSuperTextBox", instance(0x400000)));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(box);
  EXPECT_TRUE(UnregisterClassW(u"TestSuperTextBox", instance(0x400000)));
  EXPECT_FALSE(UnregisterClassW(u"TestSuperTextBox", instance(0x400000)));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST_F(WindowClasses, RegistrationRulesPerInstance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.cbClsExtra = 8;
  wc.hInstance = instance(0x1000);
  wc.lpszClassName = u"TestLocalClass";
  ATOM first = RegisterClassExW(&wc);
  ASSERT_NE(first, 0);
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  wc.hInstance = instance(0x2000);  // another module may use the same name
  ATOM second = RegisterClassExW(&wc);
  EXPECT_NE(second, 0);

  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExW(instance(0x3000), u"TestLocalClass", &info));
  EXPECT_TRUE(GetClassInfoExW(instance(0x2000), u"testlocalclass", &info));
  EXPECT_EQ(info.cbClsExtra, 8);

  HWND byAtom = CreateWindowExW(0, MAKEINTATOM(first), u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                instance(0x1000), nullptr);
  ASSERT_TRUE(byAtom);
  EXPECT_EQ(SetClassLongPtrW(byAtom, 0, 77), 0u);
  EXPECT_EQ(GetClassLongPtrW(byAtom, 0), 77u);
  EXPECT_EQ(SetClassLongPtrW(byAtom, GCL_STYLE, CS_DBLCLKS), 0u);
  EXPECT_EQ(GetClassLongW(byAtom, GCL_STYLE), CS_DBLCLKS);
  DestroyWindow(byAtom);
  EXPECT_TRUE(UnregisterClassW(u"TestLocalClass", instance(0x1000)));
  EXPECT_TRUE(UnregisterClassW(u"TestLocalClass", instance(0x2000)));

  wc.lpszClassName = nullptr;
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
}  // namespace windowing_test
