// The order in which the window manager sends its messages, compared whole:
// creation, showing and hiding, minimize/maximize/restore, moves and
// resizes, activation, enabling and destruction.
#include <gtest/gtest.h>

#include <functional>

#include "MessageSequence.h"

namespace windowing_test {
namespace {

constexpr UINT kNoClient = kNoClientSize | kNoClientMove;
constexpr UINT kInPlace = SWP_NOSIZE | SWP_NOMOVE;
constexpr UINT kChildShow = SWP_SHOWWINDOW | kInPlace | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kChildHide = SWP_HIDEWINDOW | kInPlace | SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kTopHide = kChildHide;
constexpr UINT kState = SWP_FRAMECHANGED | SWP_NOCOPYBITS | kStateChanged;

struct OrderCase {
  const char* name;
  std::function<void(Cast&)> setup;
  std::function<void(Cast&)> act;
  std::vector<Step> expected;
  std::function<void(const Cast&)> check = nullptr;  // the state afterwards
};

class MessageOrder : public WindowTest {
 protected:
  void run(const std::vector<OrderCase>& cases) {
    for (const OrderCase& c : cases) {
      SCOPED_TRACE(c.name);
      Cast cast;
      if (c.setup) c.setup(cast);
      log().clear();
      c.act(cast);
      EXPECT_TRUE(sequenceIs(cast, c.expected));
      if (c.check) c.check(cast);
      for (HWND victim = ownTopWindow(); victim; victim = ownTopWindow())
        DestroyWindow(victim);
      log().clear();
    }
  }

  HWND visibleTop(RECT r = {100, 100, 500, 400}) {
    return createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE, r);
  }
  HWND hiddenChild(HWND parent, int id = 1) {
    return createChild(parent, id, {10, 20, 110, 70}, WS_CHILD);
  }
  HWND popup(DWORD style, HWND owner = nullptr) {
    return CreateWindowExW(0, kRecordingClass, u"popup", style, 30, 40, 200, 100, owner, nullptr,
                           nullptr, nullptr);
  }
};

// What a top-level window hears when it becomes active inside another
// operation that has already put it on top: activation only asks.
std::vector<Step> activationOf(Role who) {
  return {{who, WM_WINDOWPOSCHANGING, std::nullopt, kInPlace},
          maybe({who, WM_ACTIVATEAPP, TRUE}),
          {who, WM_NCACTIVATE, TRUE},
          {who, WM_ACTIVATE, WA_ACTIVE},
          {who, WM_SETFOCUS}};
}

std::vector<Step> join(std::initializer_list<std::vector<Step>> parts) {
  std::vector<Step> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(MessageOrder, Creation) {
  const LPARAM popupSize = MAKELPARAM(200, 100);
  const LPARAM popupPlace = MAKELPARAM(30, 40);
  const LPARAM childSize = MAKELPARAM(100, 50);
  const LPARAM childPlace = MAKELPARAM(10, 20);
  const std::vector<Step> childCreated = {
      {kChild, WM_NCCREATE},
      {kChild, WM_NCCALCSIZE},
      {kChild, WM_CREATE},
      {kChild, WM_SIZE, SIZE_RESTORED, std::nullopt, childSize},
      {kChild, WM_MOVE, 0, std::nullopt, childPlace},
      {kTop, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 1)},
  };
  const std::vector<Step> popupCreated = {
      {kPopup, WM_NCCREATE},
      {kPopup, WM_NCCALCSIZE},
      {kPopup, WM_CREATE},
      {kPopup, WM_SIZE, SIZE_RESTORED, std::nullopt, popupSize},
      {kPopup, WM_MOVE, 0, std::nullopt, popupPlace},
  };
  const std::vector<Step> topCreated = {
      {kTop, WM_GETMINMAXINFO}, {kTop, WM_NCCREATE}, {kTop, WM_NCCALCSIZE}, {kTop, WM_CREATE}};
  const std::vector<Step> showChild = {
      {kChild, WM_SHOWWINDOW, TRUE},
      {kChild, WM_WINDOWPOSCHANGING, 0, kChildShow},
      {kChild, WM_WINDOWPOSCHANGED, 0, kChildShow | kNoClient},
  };
  auto showTop = [](Role who) {
    return join(
        {{{who, WM_SHOWWINDOW, TRUE}, {who, WM_WINDOWPOSCHANGING, 0, SWP_SHOWWINDOW | kInPlace}},
         activationOf(who),
         {{who, WM_WINDOWPOSCHANGED, 0, SWP_SHOWWINDOW | kInPlace | kNoClient}}});
  };
  run({
      {"hidden overlapped window", nullptr,
       [&](Cast& c) { c[kTop] = createTop(WS_OVERLAPPEDWINDOW); }, topCreated},
      {"visible overlapped window: its size and place come with its first show", nullptr,
       [&](Cast& c) { c[kTop] = visibleTop(); },
       join({topCreated, showTop(kTop), {{kTop, WM_SIZE, SIZE_RESTORED}, {kTop, WM_MOVE}}})},
      {"hidden popup", nullptr, [&](Cast& c) { c[kPopup] = popup(WS_POPUP); }, popupCreated},
      {"visible popup", nullptr, [&](Cast& c) { c[kPopup] = popup(WS_POPUP | WS_VISIBLE); },
       join({popupCreated, showTop(kPopup)})},
      {"hidden child of a visible parent", [&](Cast& c) { c[kTop] = visibleTop(); },
       [&](Cast& c) { c[kChild] = hiddenChild(c[kTop]); }, childCreated},
      {"visible child of a visible parent", [&](Cast& c) { c[kTop] = visibleTop(); },
       [&](Cast& c) {
         c[kChild] = createChild(c[kTop], 1, {10, 20, 110, 70});
       },
       join({childCreated, showChild})},
      {"hidden child of a hidden parent", [&](Cast& c) { c[kTop] = createTop(); },
       [&](Cast& c) { c[kChild] = hiddenChild(c[kTop]); }, childCreated},
      {"visible child of a hidden parent: only told it shows",
       [&](Cast& c) { c[kTop] = createTop(); },
       [&](Cast& c) {
         c[kChild] = createChild(c[kTop], 1, {10, 20, 110, 70});
       },
       join({childCreated, {{kChild, WM_SHOWWINDOW, TRUE}}}),
       [](const Cast& c) {
         EXPECT_TRUE(GetWindowLongW(c[kChild], GWL_STYLE) & WS_VISIBLE);
         EXPECT_FALSE(IsWindowVisible(c[kChild]));
       }},
      {"child of the desktop window",
       nullptr,
       [&](Cast& c) {
         c[kChild] = CreateWindowExW(0, kRecordingClass, u"", WS_CHILD, 10, 20, 100, 50,
                                     GetDesktopWindow(), nullptr, nullptr, nullptr);
       },
       {{kChild, WM_NCCREATE},
        {kChild, WM_NCCALCSIZE},
        {kChild, WM_CREATE},
        {kChild, WM_SIZE, SIZE_RESTORED, std::nullopt, childSize},
        {kChild, WM_MOVE, 0, std::nullopt, childPlace}},
       [](const Cast& c) {
         ASSERT_TRUE(c[kChild]);
         EXPECT_EQ(GetParent(c[kChild]), GetDesktopWindow());
         EXPECT_EQ(GetAncestor(c[kChild], GA_ROOT), c[kChild]);
       }},
  });
}

TEST_F(MessageOrder, ShowingAndHidingChildren) {
  auto visibleParentHiddenChild = [&](Cast& c) {
    c[kTop] = visibleTop();
    c[kChild] = hiddenChild(c[kTop]);
  };
  auto visibleParentVisibleChild = [&](Cast& c) {
    c[kTop] = visibleTop();
    c[kChild] = createChild(c[kTop], 1);
  };
  auto hiddenParentHiddenChild = [&](Cast& c) {
    c[kTop] = createTop();
    c[kChild] = hiddenChild(c[kTop]);
  };
  auto hiddenParentVisibleChild = [&](Cast& c) {
    c[kTop] = createTop();
    c[kChild] = createChild(c[kTop], 1);
  };
  run({
      {"show, parent visible",
       visibleParentHiddenChild,
       [](Cast& c) { EXPECT_FALSE(ShowWindow(c[kChild], SW_SHOW)); },
       {{kChild, WM_SHOWWINDOW, TRUE, std::nullopt, 0},
        {kChild, WM_WINDOWPOSCHANGING, 0, kChildShow},
        {kChild, WM_WINDOWPOSCHANGED, 0, kChildShow | kNoClient}}},
      {"hide, parent visible",
       visibleParentVisibleChild,
       [](Cast& c) { EXPECT_TRUE(ShowWindow(c[kChild], SW_HIDE)); },
       {{kChild, WM_SHOWWINDOW, FALSE, std::nullopt, 0},
        {kChild, WM_WINDOWPOSCHANGING, 0, kChildHide},
        {kChild, WM_WINDOWPOSCHANGED, 0, kChildHide | kNoClient}}},
      {"show, parent hidden",
       hiddenParentHiddenChild,
       [](Cast& c) { EXPECT_FALSE(ShowWindow(c[kChild], SW_SHOW)); },
       {{kChild, WM_SHOWWINDOW, TRUE}},
       [](const Cast& c) {
         EXPECT_FALSE(IsWindowVisible(c[kChild]));
         ShowWindow(c[kTop], SW_SHOWNA);
         EXPECT_TRUE(IsWindowVisible(c[kChild]));
       }},
      {"hide, parent hidden",
       hiddenParentVisibleChild,
       [](Cast& c) { EXPECT_TRUE(ShowWindow(c[kChild], SW_HIDE)); },
       {{kChild, WM_SHOWWINDOW, FALSE}},
       [](const Cast& c) { EXPECT_FALSE(GetWindowLongW(c[kChild], GWL_STYLE) & WS_VISIBLE); }},
      {"show, grandparent hidden",
       [&](Cast& c) {
         hiddenParentVisibleChild(c);
         c[kGrandchild] = createChild(c[kChild], 2, {1, 1, 11, 11}, WS_CHILD);
       },
       [](Cast& c) { ShowWindow(c[kGrandchild], SW_SHOWNORMAL); },
       {{kGrandchild, WM_SHOWWINDOW, TRUE}}},
      {"SetWindowPos, parent hidden: no redraw",
       hiddenParentVisibleChild,
       [](Cast& c) {
         SetWindowPos(c[kChild], nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
       },
       {{kChild, WM_WINDOWPOSCHANGING, 0,
         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW},
        {kChild, WM_WINDOWPOSCHANGED, 0,
         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | kNoClientSize},
        {kChild, WM_MOVE, 0, std::nullopt, MAKELPARAM(20, 30)}}},
      {"SetWindowPos showing, parent hidden",
       hiddenParentHiddenChild,
       [](Cast& c) { SetWindowPos(c[kChild], nullptr, 0, 0, 0, 0, kChildShow); },
       {{kChild, WM_WINDOWPOSCHANGING, 0, kChildShow | SWP_NOREDRAW},
        {kChild, WM_WINDOWPOSCHANGED, 0, kChildShow | SWP_NOREDRAW | kNoClient}}},
      {"redundant show of a child",
       visibleParentVisibleChild,
       [](Cast& c) { EXPECT_TRUE(ShowWindow(c[kChild], SW_SHOW)); },
       {}},
      {"redundant show of an inactive top-level window",
       [&](Cast& c) {
         c[kTop] = visibleTop();
         c[kOther] = visibleTop({600, 100, 800, 300});
       },
       [](Cast& c) { EXPECT_TRUE(ShowWindow(c[kTop], SW_SHOW)); },
       {},
       [](const Cast& c) { EXPECT_EQ(GetActiveWindow(), c[kOther]); }},
      {"redundant hide",
       hiddenParentHiddenChild,
       [](Cast& c) {
         EXPECT_FALSE(ShowWindow(c[kChild], SW_HIDE));
         EXPECT_FALSE(ShowWindow(c[kTop], SW_HIDE));
       },
       {}},
  });
}

TEST_F(MessageOrder, MinimizeMaximizeAndRestore) {
  auto active = [&](Cast& c) { c[kTop] = visibleTop(); };
  auto activeAboveOther = [&](Cast& c) {
    c[kOther] = visibleTop({600, 100, 800, 300});
    c[kTop] = visibleTop();
  };
  auto maximized = [&](Cast& c) {
    active(c);
    ShowWindow(c[kTop], SW_MAXIMIZE);
  };
  auto minimized = [&](Cast& c) {
    active(c);
    ShowWindow(c[kTop], SW_SHOWMINIMIZED);
  };
  auto resized = [](WPARAM kind, UINT flags) -> std::vector<Step> {
    return {{kTop, WM_WINDOWPOSCHANGED, 0, flags}, {kTop, WM_MOVE}, {kTop, WM_SIZE, kind}};
  };
  run({
      {"SW_SHOWMINIMIZED", active, [](Cast& c) { ShowWindow(c[kTop], SW_SHOWMINIMIZED); },
       join({{{kTop, WM_WINDOWPOSCHANGING, 0, SWP_SHOWWINDOW | kState}, {kTop, WM_NCCALCSIZE}},
             resized(SIZE_MINIMIZED, SWP_SHOWWINDOW | kState)}),
       [](const Cast& c) {
         EXPECT_TRUE(IsIconic(c[kTop]));
         EXPECT_EQ(GetActiveWindow(), c[kTop]);
       }},
      {"SW_MINIMIZE activates the next window", activeAboveOther,
       [](Cast& c) { ShowWindow(c[kTop], SW_MINIMIZE); },
       join({{{kTop, WM_WINDOWPOSCHANGING, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | kState},
              {kTop, WM_NCCALCSIZE}},
             resized(SIZE_MINIMIZED, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | kState),
             {{kTop, WM_NCACTIVATE, FALSE},
              {kTop, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE)},
              {kOther, WM_WINDOWPOSCHANGING, 0, kInPlace},
              {kOther, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient},
              {kOther, WM_NCACTIVATE, TRUE},
              {kOther, WM_ACTIVATE, WA_ACTIVE},
              {kTop, WM_KILLFOCUS},
              {kOther, WM_SETFOCUS}}}),
       [](const Cast& c) { EXPECT_EQ(GetActiveWindow(), c[kOther]); }},
      {"SW_MAXIMIZE", active, [](Cast& c) { ShowWindow(c[kTop], SW_MAXIMIZE); },
       join({{{kTop, WM_GETMINMAXINFO},
              {kTop, WM_WINDOWPOSCHANGING, 0, kState},
              {kTop, WM_GETMINMAXINFO},
              {kTop, WM_NCCALCSIZE}},
             resized(SIZE_MAXIMIZED, kState)})},
      {"SW_RESTORE from maximized", maximized, [](Cast& c) { ShowWindow(c[kTop], SW_RESTORE); },
       join({{{kTop, WM_WINDOWPOSCHANGING, 0, kState},
              {kTop, WM_GETMINMAXINFO},
              {kTop, WM_NCCALCSIZE}},
             resized(SIZE_RESTORED, kState)}),
       [](const Cast& c) {
         RECT r;
         GetWindowRect(c[kTop], &r);
         EXPECT_EQ(r, (RECT{100, 100, 500, 400}));
       }},
      {"SW_RESTORE from minimized", minimized, [](Cast& c) { ShowWindow(c[kTop], SW_RESTORE); },
       join({{{kTop, WM_WINDOWPOSCHANGING, 0, kState},
              {kTop, WM_GETMINMAXINFO},
              {kTop, WM_NCCALCSIZE}},
             resized(SIZE_RESTORED, kState)})},
      {"SW_SHOWMAXIMIZED of a hidden window: no WM_SHOWWINDOW",
       [&](Cast& c) { c[kTop] = createTop(); },
       [](Cast& c) { ShowWindow(c[kTop], SW_SHOWMAXIMIZED); },
       join({{{kTop, WM_GETMINMAXINFO},
              {kTop, WM_WINDOWPOSCHANGING, 0, SWP_SHOWWINDOW | kState},
              {kTop, WM_GETMINMAXINFO},
              {kTop, WM_NCCALCSIZE}},
             activationOf(kTop),
             resized(SIZE_MAXIMIZED, SWP_SHOWWINDOW | kState)})},
  });
}

TEST_F(MessageOrder, MovingAndResizing) {
  auto parentAndChild = [&](Cast& c) {
    c[kTop] = visibleTop();
    c[kChild] = createChild(c[kTop], 1, {10, 20, 110, 70});
  };
  constexpr UINT kQuiet = SWP_NOZORDER | SWP_NOACTIVATE;
  run({
      {"MoveWindow of a child: WM_MOVE before WM_SIZE",
       parentAndChild,
       [](Cast& c) { MoveWindow(c[kChild], 30, 40, 100, 60, TRUE); },
       {{kChild, WM_WINDOWPOSCHANGING, 0, kQuiet},
        {kChild, WM_NCCALCSIZE},
        {kChild, WM_WINDOWPOSCHANGED, 0, kQuiet},
        {kChild, WM_MOVE, 0, std::nullopt, MAKELPARAM(30, 40)},
        {kChild, WM_SIZE, SIZE_RESTORED, std::nullopt, MAKELPARAM(100, 60)}}},
      {"MoveWindow of a child to another place only",
       parentAndChild,
       [](Cast& c) { MoveWindow(c[kChild], 30, 40, 100, 50, TRUE); },
       {{kChild, WM_WINDOWPOSCHANGING, 0, kQuiet},
        {kChild, WM_WINDOWPOSCHANGED, 0, kQuiet | SWP_NOSIZE | kNoClientSize},
        {kChild, WM_MOVE}}},
      {"resizing an overlapped window asks its limits",
       [&](Cast& c) { c[kTop] = visibleTop(); },
       [](Cast& c) { SetWindowPos(c[kTop], nullptr, 0, 0, 300, 200, SWP_NOMOVE | kQuiet); },
       {{kTop, WM_WINDOWPOSCHANGING, 0, SWP_NOMOVE | kQuiet},
        {kTop, WM_GETMINMAXINFO},
        {kTop, WM_NCCALCSIZE},
        {kTop, WM_WINDOWPOSCHANGED, 0, SWP_NOMOVE | kQuiet | kNoClientMove},
        {kTop, WM_SIZE}}},
      {"resizing a popup without a sizing border does not",
       [&](Cast& c) { c[kPopup] = popup(WS_POPUP | WS_VISIBLE); },
       [](Cast& c) { SetWindowPos(c[kPopup], nullptr, 0, 0, 300, 200, SWP_NOMOVE | kQuiet); },
       {{kPopup, WM_WINDOWPOSCHANGING},
        {kPopup, WM_NCCALCSIZE},
        {kPopup, WM_WINDOWPOSCHANGED},
        {kPopup, WM_SIZE, SIZE_RESTORED, std::nullopt, MAKELPARAM(300, 200)}}},
      {"moving an overlapped window does not",
       [&](Cast& c) { c[kTop] = visibleTop(); },
       [](Cast& c) { SetWindowPos(c[kTop], nullptr, 10, 10, 0, 0, SWP_NOSIZE | kQuiet); },
       {{kTop, WM_WINDOWPOSCHANGING}, {kTop, WM_WINDOWPOSCHANGED}, {kTop, WM_MOVE}}},
  });
}

TEST_F(MessageOrder, ResizingIsKeptWithinTheTrackSizes) {
  HWND top = createTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetWindowPos(top, nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER);
  RECT r;
  GetWindowRect(top, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYMINTRACK));
  answer() = [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_GETMINMAXINFO)
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = {250, 150};
    return std::nullopt;
  };
  SetWindowPos(top, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(top, &r);
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_EQ(r.bottom - r.top, 150);
}

TEST_F(MessageOrder, HidingTheActiveWindow) {
  auto deactivation = join({{{kTop, WM_NCACTIVATE, FALSE},
                             {kTop, WM_ACTIVATE, WA_INACTIVE},
                             {kOther, WM_WINDOWPOSCHANGING, 0, kInPlace},
                             {kOther, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient},
                             {kOther, WM_NCACTIVATE, TRUE},
                             {kOther, WM_ACTIVATE, WA_ACTIVE},
                             {kTop, WM_KILLFOCUS},
                             {kOther, WM_SETFOCUS}}});
  const std::vector<Step> hide = {{kTop, WM_SHOWWINDOW, FALSE},
                                  {kTop, WM_WINDOWPOSCHANGING, 0, kTopHide},
                                  {kTop, WM_WINDOWPOSCHANGED, 0, kTopHide | kNoClient}};
  run({
      {"shown and sized",
       [&](Cast& c) {
         c[kOther] = visibleTop({600, 100, 800, 300});
         c[kTop] = visibleTop();
       },
       [](Cast& c) { ShowWindow(c[kTop], SW_HIDE); }, join({hide, deactivation}),
       [](const Cast& c) { EXPECT_EQ(GetActiveWindow(), c[kOther]); }},
      {"shown without its size yet: WM_SIZE and WM_MOVE come before the deactivation",
       [&](Cast& c) {
         c[kOther] = visibleTop({600, 100, 800, 300});
         c[kTop] = createTop();
         SetWindowPos(c[kTop], HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | kInPlace);
         ASSERT_EQ(GetActiveWindow(), c[kTop]);
       },
       [](Cast& c) { ShowWindow(c[kTop], SW_HIDE); },
       join({hide, {{kTop, WM_SIZE}, {kTop, WM_MOVE}}, deactivation})},
  });
}

TEST_F(MessageOrder, Activation) {
  auto topBelowOther = [&](Cast& c) {
    c[kTop] = visibleTop();
    c[kOther] = visibleTop({600, 100, 800, 300});
  };
  const std::vector<Step> switchToTop = {{kOther, WM_NCACTIVATE, FALSE},
                                         {kOther, WM_ACTIVATE, WA_INACTIVE},
                                         {kTop, WM_WINDOWPOSCHANGING, 0, kInPlace},
                                         {kTop, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient},
                                         {kTop, WM_NCACTIVATE, TRUE},
                                         {kTop, WM_ACTIVATE, WA_ACTIVE},
                                         {kOther, WM_KILLFOCUS},
                                         {kTop, WM_SETFOCUS}};
  auto onTop = [](const Cast& c) { EXPECT_EQ(GetTopWindow(nullptr), c[kTop]); };
  run({
      {"SetActiveWindow brings the window up between deactivation and activation", topBelowOther,
       [](Cast& c) { SetActiveWindow(c[kTop]); }, switchToTop, onTop},
      {"SetForegroundWindow the same way", topBelowOther,
       [](Cast& c) { SetForegroundWindow(c[kTop]); }, switchToTop, onTop},
      {"SetWindowPos activates a visible owned popup",
       [&](Cast& c) {
         c[kTop] = visibleTop();
         c[kPopup] = popup(WS_POPUP | WS_CAPTION | WS_VISIBLE, c[kTop]);
         SetActiveWindow(c[kTop]);
       },
       [](Cast& c) { SetWindowPos(c[kPopup], HWND_TOP, 0, 0, 0, 0, kInPlace); },
       join({{{kPopup, WM_WINDOWPOSCHANGING, 0, kInPlace},
              {kTop, WM_NCACTIVATE, FALSE},
              {kTop, WM_ACTIVATE, WA_INACTIVE}},
             {{kPopup, WM_WINDOWPOSCHANGING, 0, kInPlace},
              {kPopup, WM_NCACTIVATE, TRUE},
              {kPopup, WM_ACTIVATE, WA_ACTIVE},
              {kTop, WM_KILLFOCUS},
              {kPopup, WM_SETFOCUS},
              {kPopup, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient}}}),
       [](const Cast& c) { EXPECT_EQ(GetActiveWindow(), c[kPopup]); }},
      {"SetWindowPos sends WM_CHILDACTIVATE to a child",
       [&](Cast& c) {
         c[kTop] = visibleTop();
         c[kChild] = createChild(c[kTop], 1);
       },
       [](Cast& c) { SetWindowPos(c[kChild], HWND_TOP, 0, 0, 0, 0, kInPlace); },
       {{kChild, WM_WINDOWPOSCHANGING, 0, kInPlace},
        {kChild, WM_CHILDACTIVATE},
        {kChild, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient}}},
      {"not with SWP_NOACTIVATE",
       [&](Cast& c) {
         c[kTop] = visibleTop();
         c[kChild] = createChild(c[kTop], 1);
       },
       [](Cast& c) { SetWindowPos(c[kChild], HWND_TOP, 0, 0, 0, 0, kInPlace | SWP_NOACTIVATE); },
       {{kChild, WM_WINDOWPOSCHANGING}, {kChild, WM_WINDOWPOSCHANGED}}},
  });
}

TEST_F(MessageOrder, Enabling) {
  auto focusedChild = [&](Cast& c) {
    c[kTop] = visibleTop();
    c[kChild] = createChild(c[kTop], 1);
    SetFocus(c[kChild]);
  };
  auto focusStays = [](const Cast& c) { EXPECT_EQ(GetFocus(), c[kChild]); };
  run({
      {"disabling the parent of the focused window",
       focusedChild,
       [](Cast& c) { EnableWindow(c[kTop], FALSE); },
       {{kTop, WM_CANCELMODE}, {kTop, WM_ENABLE, FALSE}},
       focusStays},
      {"disabling the focused window",
       focusedChild,
       [](Cast& c) { EnableWindow(c[kChild], FALSE); },
       {{kChild, WM_CANCELMODE}, {kChild, WM_ENABLE, FALSE}},
       focusStays},
      {"enabling again",
       [&](Cast& c) {
         focusedChild(c);
         EnableWindow(c[kTop], FALSE);
       },
       [](Cast& c) { EnableWindow(c[kTop], TRUE); },
       {{kTop, WM_ENABLE, TRUE}},
       focusStays},
  });
}

TEST_F(MessageOrder, DestructionWithTheFocusInside) {
  auto parentAndChild = [&](Cast& c, DWORD style) {
    c[kTop] = visibleTop();
    c[kChild] = createChild(c[kTop], 1, {10, 20, 110, 70}, style);
  };
  auto focusedChild = [&](Cast& c) {
    parentAndChild(c, WS_CHILD | WS_VISIBLE);
    SetFocus(c[kChild]);
  };
  const Step notify = {kTop, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 1)};
  const std::vector<Step> hideChild = {{kChild, WM_SHOWWINDOW, FALSE},
                                       {kChild, WM_WINDOWPOSCHANGING, 0, kChildHide},
                                       {kChild, WM_WINDOWPOSCHANGED, 0, kChildHide | kNoClient}};
  const std::vector<Step> destroyChild = {{kChild, WM_DESTROY}, {kChild, WM_NCDESTROY}};
  auto focusBackToParent = [](Role from) -> std::vector<Step> {
    return {{from, WM_KILLFOCUS}, {kTop, WM_SETFOCUS}};
  };
  auto focusOnParent = [](const Cast& c) { EXPECT_EQ(GetFocus(), c[kTop]); };
  run({
      {"the focused child", focusedChild, [](Cast& c) { DestroyWindow(c[kChild]); },
       join({{notify}, hideChild, focusBackToParent(kChild), destroyChild}), focusOnParent},
      {"a child whose own child has the focus",
       [&](Cast& c) {
         parentAndChild(c, WS_CHILD | WS_VISIBLE);
         c[kGrandchild] = createChild(c[kChild], 2, {1, 1, 11, 11});
         SetFocus(c[kGrandchild]);
       },
       [](Cast& c) { DestroyWindow(c[kChild]); },
       join({{notify},
             hideChild,
             focusBackToParent(kGrandchild),
             {{kChild, WM_DESTROY},
              {kGrandchild, WM_DESTROY},
              {kGrandchild, WM_NCDESTROY},
              {kChild, WM_NCDESTROY}}}),
       focusOnParent},
      {"a hidden focused child: nothing to hide",
       [&](Cast& c) {
         parentAndChild(c, WS_CHILD);
         SetFocus(c[kChild]);
       },
       [](Cast& c) { DestroyWindow(c[kChild]); },
       join({{notify}, focusBackToParent(kChild), destroyChild}), focusOnParent},
      {"the focused child of a disabled parent: the focus goes nowhere",
       [&](Cast& c) {
         focusedChild(c);
         EnableWindow(c[kTop], FALSE);
       },
       [](Cast& c) { DestroyWindow(c[kChild]); },
       join({{notify}, hideChild, {{kChild, WM_KILLFOCUS, 0}}, destroyChild}),
       [](const Cast&) { EXPECT_EQ(GetFocus(), nullptr); }},
      {"a child holding the capture gives it up between WM_DESTROY and WM_NCDESTROY",
       [&](Cast& c) {
         parentAndChild(c, WS_CHILD | WS_VISIBLE);
         SetCapture(c[kChild]);
       },
       [](Cast& c) { DestroyWindow(c[kChild]); },
       join({{notify},
             hideChild,
             {{kChild, WM_DESTROY}, {kChild, WM_CAPTURECHANGED}, {kChild, WM_NCDESTROY}}}),
       [](const Cast&) { EXPECT_EQ(GetCapture(), nullptr); }},
      {"the active window with the focus on its child",
       [&](Cast& c) {
         c[kOther] = visibleTop({600, 100, 800, 300});
         focusedChild(c);
       },
       [](Cast& c) { DestroyWindow(c[kTop]); },
       {{kTop, WM_WINDOWPOSCHANGING, 0, kTopHide},
        {kTop, WM_WINDOWPOSCHANGED, 0, kTopHide | kNoClient},
        {kTop, WM_NCACTIVATE, FALSE},
        {kTop, WM_ACTIVATE, WA_INACTIVE},
        {kOther, WM_WINDOWPOSCHANGING, 0, kInPlace},
        {kOther, WM_WINDOWPOSCHANGED, 0, kInPlace | kNoClient},
        {kOther, WM_NCACTIVATE, TRUE},
        {kOther, WM_ACTIVATE, WA_ACTIVE},
        {kChild, WM_KILLFOCUS},
        {kOther, WM_SETFOCUS},
        {kTop, WM_DESTROY},
        {kChild, WM_DESTROY},
        {kChild, WM_NCDESTROY},
        {kTop, WM_NCDESTROY}},
       [](const Cast& c) { EXPECT_EQ(GetFocus(), c[kOther]); }},
  });
}

// The matcher itself: optional steps, open parameters and leftovers.
TEST(MessageSequenceMatcher, ComparesWholeSequences) {
  HWND a = reinterpret_cast<HWND>(0x10);
  HWND b = reinterpret_cast<HWND>(0x20);
  Cast cast;
  cast[kTop] = a;
  cast[kChild] = b;
  log() = {{a, WM_SIZE, 1, 0}, {b, WM_MOVE, 0, 7}, {a, WM_SETCURSOR, 0, 0}};
  struct Case {
    const char* what;
    std::vector<Step> expected;
    bool matches;
  };
  const Case cases[] = {
      {"exact", {{kTop, WM_SIZE, 1}, {kChild, WM_MOVE, 0, std::nullopt, 7}}, true},
      {"open parameters", {{kTop, WM_SIZE}, {kChild, WM_MOVE}}, true},
      {"missing optional step",
       {{kTop, WM_SIZE}, maybe({kTop, WM_ENABLE}), {kChild, WM_MOVE}},
       true},
      {"present optional step", {maybe({kTop, WM_SIZE}), {kChild, WM_MOVE}}, true},
      {"wrong wParam", {{kTop, WM_SIZE, 2}, {kChild, WM_MOVE}}, false},
      {"wrong window", {{kChild, WM_SIZE}, {kChild, WM_MOVE}}, false},
      {"leftover", {{kTop, WM_SIZE}}, false},
      {"missing step", {{kTop, WM_SIZE}, {kChild, WM_MOVE}, {kTop, WM_ENABLE}}, false},
      {"wrong order", {{kChild, WM_MOVE}, {kTop, WM_SIZE}}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(static_cast<bool>(sequenceIs(cast, c.expected)), c.matches) << c.what;
  log().clear();
}

}  // namespace
}  // namespace windowing_test
