#include "internal/EditControl.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "internal/ControlRegistry.h"
#include "internal/ControlSupport.h"
#include "internal/GdiLookup.h"
#include "internal/SystemClasses.h"

namespace platform::internal {
namespace {

using Edits = ControlRegistry<EditControl>;

// The limit before EM_LIMITTEXT, and the most that EM_LIMITTEXT 0 allows.
constexpr size_t kDefaultLimit = 30000;
constexpr size_t kSingleLineMaximum = 0x7FFFFFFE;
constexpr size_t kMultiLineMaximum = 0xFFFFFFFF;
constexpr int kWheelLines = 3;

bool keyDown(int key) {
  return GetKeyState(key) < 0;
}

LPARAM pointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)),
                    static_cast<WORD>(static_cast<SHORT>(y)));
}

}  // namespace

LRESULT EditWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return EditControl::procedure(hwnd, message, wParam, lParam);
}

EditControl::EditControl(HWND hwnd) : hwnd_(hwnd), text_(widths_), limit_(kDefaultLimit) {
  widths_.setFont(fontOf(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))));
}

LRESULT EditControl::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    Edits::add(hwnd, std::make_shared<EditControl>(hwnd));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  std::shared_ptr<EditControl> edit = Edits::find(hwnd);
  if (!edit || message == WM_NCDESTROY) {
    Edits::remove(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  edit->forgetWindowState();
  switch (message) {
    case WM_CREATE:
      return edit->onCreate(reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return edit->onPaint(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
    case WM_ERASEBKGND:
      return 1;  // the painting covers the whole control
    case WM_SETTEXT:
      return edit->onSetText(reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
      return edit->onGetText(wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(edit->text_.length());
    case WM_CHAR:
      return edit->onChar(wParam);
    case WM_KEYDOWN:
      return edit->onKeyDown(wParam);
    case WM_LBUTTONDOWN:
      return edit->onButtonDown(wParam, lParam);
    case WM_LBUTTONDBLCLK:
      return edit->onDoubleClick(lParam);
    case WM_MOUSEMOVE:
      return edit->onMouseMove(lParam);
    case WM_LBUTTONUP:
      return edit->onButtonUp();
    case WM_CAPTURECHANGED:
      edit->tracking_ = false;
      return 0;
    case WM_SETFOCUS:
      return edit->onFocus(true);
    case WM_KILLFOCUS:
      return edit->onFocus(false);
    case WM_ENABLE:
      edit->refresh();
      return 0;
    case WM_SETFONT:
      return edit->onSetFont(wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(edit->fontHandle_);
    case WM_SIZE:
      return edit->onSize();
    case WM_VSCROLL:
    case WM_HSCROLL:
      return edit->onScroll(message == WM_VSCROLL, LOWORD(wParam),
                            static_cast<SHORT>(HIWORD(wParam)));
    case WM_MOUSEWHEEL:
      return edit->onMouseWheel(wParam);
    case WM_GETDLGCODE:
      return edit->onGetDialogCode(wParam, lParam);
    case WM_STYLECHANGED:
      return edit->onStyleChanged();
    case WM_CUT:
      return edit->onCut();
    case WM_COPY:
      return edit->onCopy();
    case WM_PASTE:
      return edit->onPaste();
    case WM_CLEAR:
      return edit->onClear();
    case WM_UNDO:
    case EM_UNDO:
      return edit->onUndo();
    case EM_GETSEL:
      return edit->onGetSel(wParam, lParam);
    case EM_SETSEL:
      return edit->onSetSel(wParam, lParam);
    case EM_SCROLLCARET:
      return edit->onScrollCaret();
    case EM_LIMITTEXT:
      return edit->onLimitText(wParam);
    case EM_GETLIMITTEXT:
      return static_cast<LRESULT>(edit->limit_);
    case EM_SETPASSWORDCHAR:
      return edit->onSetPasswordChar(wParam);
    case EM_GETPASSWORDCHAR:
      return edit->mask();
    case EM_SETREADONLY:
      return edit->onSetReadOnly(wParam);
    case EM_SETCUEBANNER:
      return edit->onSetCueBanner(wParam, lParam);
    case EM_GETCUEBANNER:
      return edit->onGetCueBanner(wParam, lParam);
    case EM_REPLACESEL:
      return edit->onReplaceSel(wParam, lParam);
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(edit->text_.lineCount());
    case EM_LINEINDEX:
      return edit->onLineIndex(wParam);
    case EM_LINELENGTH:
      return edit->onLineLength(wParam);
    case EM_LINEFROMCHAR:
      return edit->onLineFromChar(wParam);
    case EM_GETLINE:
      return edit->onGetLine(wParam, lParam);
    case EM_GETFIRSTVISIBLELINE:
      return static_cast<LRESULT>(edit->firstLine_);
    case EM_LINESCROLL:
      return edit->onLineScroll(wParam, lParam);
    case EM_SCROLL:
      return edit->onScrollMessage(wParam);
    case EM_GETMODIFY:
      return edit->modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      edit->modified_ = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return edit->undo_.available ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      edit->undo_ = Undo{};
      return 0;
    case EM_GETRECT:
      return edit->onGetRect(lParam);
    case EM_SETMARGINS:
      return edit->onSetMargins(wParam, lParam);
    case EM_GETMARGINS:
      return MAKELRESULT(static_cast<WORD>(edit->leftMargin_),
                         static_cast<WORD>(edit->rightMargin_));
    case EM_POSFROMCHAR:
      return edit->onPosFromChar(wParam);
    case EM_CHARFROMPOS:
      return edit->onCharFromPos(lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Layout and view
// ---------------------------------------------------------------------------
// The style and the client area are read once per message: whatever
// changes them (SetWindowLong, SetWindowPos, ShowScrollBar) sends the window
// a message, which makes them be read again.
void EditControl::forgetWindowState() {
  styleKnown_ = false;
  clientKnown_ = false;
}

DWORD EditControl::style() const {
  if (!styleKnown_) {
    style_ = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    styleKnown_ = true;
  }
  return style_;
}

RECT EditControl::client() const {
  if (!clientKnown_) {
    client_ = RECT{};
    GetClientRect(hwnd_, &client_);
    clientKnown_ = true;
  }
  return client_;
}

char16_t EditControl::mask() const {
  return (style() & ES_PASSWORD) && !multiLine() ? password_ : 0;
}

RECT EditControl::formatRect() const {
  const RECT client = this->client();
  RECT format{client.left + leftMargin_, client.top, client.right - rightMargin_, client.bottom};
  int height = widths_.lineHeight();
  if (!(style() & ES_MULTILINE)) {
    format.top += std::max(0, static_cast<int>(client.bottom - client.top - height) / 2);
  } else {
    format.top += 1;
  }
  format.right = std::max(format.right, format.left + 1);
  format.bottom = std::max(format.bottom, format.top + 1);
  return format;
}

size_t EditControl::visibleLines() const {
  RECT format = formatRect();
  return static_cast<size_t>(
      std::max(1, static_cast<int>(format.bottom - format.top) / lineHeight()));
}

void EditControl::relayout() {
  widths_.setMask(mask());
  text_.setWidths(widths_);
  RECT format = formatRect();
  text_.setLayout(multiLine(), wordWrap(), format.right - format.left);
  firstLine_ = std::min(firstLine_, text_.lineCount() - 1);
  if (wordWrap()) xOffset_ = 0;
  updateScrollBars();
}

EditView EditControl::view() {
  EditView view;
  view.format = formatRect();
  view.firstLine = multiLine() ? firstLine_ : 0;
  view.xOffset = xOffset_;
  view.lineHeight = lineHeight();
  view.alignment = style() & (ES_CENTER | ES_RIGHT);
  if (view.alignment == (ES_CENTER | ES_RIGHT)) view.alignment = ES_RIGHT;
  view.showSelection = focused_ || (style() & ES_NOHIDESEL);
  view.showCaret = focused_;
  view.mask = mask();
  view.enabled = IsWindowEnabled(hwnd_) != 0;
  bool showCue = !cue_.empty() && (!focused_ || cueWhenFocused_);
  if (showCue) view.cue = cue_;
  return view;
}

// ---------------------------------------------------------------------------
// Changes of the text
// ---------------------------------------------------------------------------
void EditControl::notify(WORD code) {
  // What the parent does on a notification is its own request, not the
  // program's one this control is carrying out.
  const bool announced = std::exchange(announceScrolls_, true);
  ControlSupport::notifyParent(hwnd_, code);
  announceScrolls_ = announced;
}

void EditControl::refresh() {
  pendingShift_ = 0;  // everything is painted anew
  away_ = false;
  if (wholeWindowWaits()) return;
  allInvalid_ = true;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// A window procedure in front of this one may have painted without passing
// WM_PAINT on: then the update region is empty and the flag is stale.
bool EditControl::wholeWindowWaits() {
  if (allInvalid_ && !GetUpdateRect(hwnd_, nullptr, FALSE)) allInvalid_ = false;
  return allInvalid_;
}

void EditControl::invalidateLines(size_t first, size_t last) {
  if (wholeWindowWaits()) return;
  if (!multiLine()) {
    refresh();
    return;
  }
  // Away, the lines are invalidated where the screen's view shows them: they
  // are right if the view comes back, and all is painted if it does not.
  const size_t top = away_ ? homeFirstLine_ : firstLine_;
  const size_t shown = visibleLines() + 1;  // the last one may show in part
  if (last < top || first >= top + shown) return;
  first = std::max(first, top);
  const RECT client = this->client();
  const RECT format = formatRect();
  const int height = lineHeight();
  RECT lines{client.left, format.top + static_cast<int>(first - top) * height, client.right,
             client.bottom};
  if (first == top) lines.top = client.top;
  if (last != EditText::npos && last < top + shown) {
    lines.bottom =
        std::min<LONG>(client.bottom, format.top + static_cast<int>(last + 1 - top) * height);
  }
  if (lines.bottom > lines.top) InvalidateRect(hwnd_, &lines, FALSE);
}

void EditControl::selectionMoved(size_t oldStart, size_t oldEnd) {
  if (!focused_ && !(style() & ES_NOHIDESEL)) return;
  if (oldStart == text_.selectionStart() && oldEnd == text_.selectionEnd()) return;
  invalidateLines(text_.lineOf(oldStart), text_.lineOf(oldEnd));
  invalidateLines(text_.lineOf(text_.selectionStart()), text_.lineOf(text_.selectionEnd()));
}

// EN_UPDATE once the change is laid out, EN_CHANGE after. What changed was
// invalidated by the change itself and is painted when the window's thread
// next finds no message waiting (WM_PAINT): a burst of changes paints once.
void EditControl::changed() {
  modified_ = true;
  notify(EN_UPDATE);
  if (!IsWindow(hwnd_)) return;
  notify(EN_CHANGE);
}

void EditControl::applyReplacement(size_t start, size_t end, std::u16string_view with,
                                   bool keepUndo) {
  if (keepUndo) {
    bool continues = undo_.available && undo_.start + undo_.insertedLength == start &&
                     start == end && !with.empty();
    if (continues) {
      undo_.insertedLength += with.size();
    } else {
      undo_ = Undo{true, start, with.size(), text_.text().substr(start, end - start)};
    }
  }
  text_.replace(start, end, with);
  desiredX_ = -1;
  // The lines before the change stay as they were: scrolling moves them on
  // the screen, and only the lines from the change on are drawn anew (up to
  // the last one it altered when the lines after it did not move). A scroll
  // sets the scroll bars itself.
  if (!scrollToCaret()) updateScrollBars();
  invalidateLines(text_.firstChangedLine(), text_.lastChangedLine());
}

bool EditControl::replaceSelection(std::u16string_view with, bool typed) {
  std::u16string_view inserted = with;
  DWORD s = style();
  if (!multiLine()) inserted = inserted.substr(0, inserted.find_first_of(u"\r\n"));
  std::u16string cased;  // the characters as the style's case has them
  if (s & (ES_UPPERCASE | ES_LOWERCASE)) {
    cased.assign(inserted);
    for (char16_t& c : cased) {
      if ((s & ES_UPPERCASE) && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
      if ((s & ES_LOWERCASE) && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    inserted = cased;
  }
  size_t start = text_.selectionStart(), end = text_.selectionEnd();
  size_t room = limit_ - std::min(limit_, text_.length() - (end - start));
  bool truncated = inserted.size() > room;
  if (truncated) inserted = inserted.substr(0, room);
  // A single line that does not scroll takes only what fits its width.
  if (typed && !multiLine() && !(s & ES_AUTOHSCROLL)) {
    RECT format = formatRect();
    const std::u16string_view text = text_.text();
    auto joined = [&] {
      std::u16string after(text.substr(0, start));
      after.append(inserted).append(text.substr(end));
      return after;
    };
    while (!inserted.empty() && widths_.font().measure(joined()) > format.right - format.left) {
      inserted.remove_suffix(1);
      truncated = true;
    }
  }
  if (truncated) notify(EN_MAXTEXT);
  if (inserted.empty() && start == end) return false;
  applyReplacement(start, end, inserted, true);
  changed();
  return true;
}

// ---------------------------------------------------------------------------
// Caret, selection and scrolling
// ---------------------------------------------------------------------------
void EditControl::moveCaret(size_t caret, bool extend) {
  size_t anchor = extend ? text_.anchor() : caret;
  if (anchor == text_.anchor() && caret == text_.caret()) return;
  const size_t oldStart = text_.selectionStart(), oldEnd = text_.selectionEnd();
  text_.select(anchor, caret);
  scrollToCaret();
  selectionMoved(oldStart, oldEnd);
}

size_t EditControl::hitTest(POINT p, bool clampToView) {
  EditView v = view();
  int row = (p.y - v.format.top) / std::max(1, v.lineHeight);
  if (p.y < v.format.top) row = -1;
  long long line = static_cast<long long>(v.firstLine) + row;
  size_t count = text_.lineCount();
  if (clampToView) {
    line = std::clamp<long long>(line, static_cast<long long>(v.firstLine),
                                 static_cast<long long>(v.firstLine + visibleLines() - 1));
  }
  line = std::clamp<long long>(line, 0, static_cast<long long>(count) - 1);
  auto index = static_cast<size_t>(line);
  return text_.indexAt(index, p.x - EditPainter::lineLeft(text_, v, index));
}

bool EditControl::scrollTo(size_t firstLine, int xOffset) {
  size_t count = text_.lineCount();
  firstLine = std::min(firstLine, count - 1);
  if (!multiLine()) firstLine = 0;
  xOffset = std::max(0, xOffset);
  if (firstLine == firstLine_ && xOffset == xOffset_) return false;
  bool vertical = firstLine != firstLine_;
  const size_t oldFirstLine = std::exchange(firstLine_, firstLine);
  const int oldXOffset = std::exchange(xOffset_, xOffset);
  updateScrollBars();
  scrollView(oldFirstLine, oldXOffset);
  if (announceScrolls_) notify(vertical ? EN_VSCROLL : EN_HSCROLL);
  return true;
}

void EditControl::scrollView(size_t oldFirstLine, int oldXOffset) {
  if (!multiLine()) {
    refresh();
    return;
  }
  if (wholeWindowWaits()) return;  // nothing on the screen is kept
  if (away_) {
    comeBackIfHome();
    return;
  }
  // Under a parent that paints over its children, pixels could be moved
  // after something else painted on them.
  if (!ancestorsClipChildren()) {
    refresh();
    return;
  }
  const RECT format = formatRect();
  const int height = lineHeight();
  const long long lines = static_cast<long long>(oldFirstLine) - static_cast<long long>(firstLine_);
  const int band = format.bottom - format.top;
  if (oldXOffset != xOffset_ || std::llabs(lines) * height >= band) {
    goAway(oldFirstLine, oldXOffset);
    return;
  }
  const int dy = static_cast<int>(lines) * height;  // > 0: the text moves down
  if (std::abs(pendingShift_ + dy) >= band) {
    goAway(oldFirstLine, oldXOffset);
    return;
  }
  // The pixels move when the window paints, all scrolls since the last
  // paint at once; what was waiting to be painted moves with the text now,
  // and is what the view itself knows to wait.
  pendingShift_ += dy;
  const RECT client = this->client();
  HRGN waiting = CreateRectRgn(0, 0, 0, 0);
  if (GetUpdateRgn(hwnd_, waiting, FALSE) > NULLREGION) {
    ValidateRgn(hwnd_, waiting);
    OffsetRgn(waiting, 0, dy);
    InvalidateRgn(hwnd_, waiting, FALSE);
  }
  RECT exposed = dy < 0 ? RECT{client.left, format.bottom + dy, client.right, format.bottom}
                        : RECT{client.left, format.top, client.right, format.top + dy};
  InvalidateRect(hwnd_, &exposed, FALSE);
  DeleteObject(waiting);
}

// The view left what the screen shows (by a page or more, or sideways).
// Until the window paints, the screen stays as it was: when the view comes
// back to it first (the caret put at the start, then at the end again),
// nothing more than before has to be painted. So that the window paints in
// any case, a corner of the margin above the text is invalidated when
// nothing else waits.
void EditControl::goAway(size_t homeFirstLine, int homeXOffset) {
  away_ = true;
  homeFirstLine_ = homeFirstLine;
  homeXOffset_ = homeXOffset;
  homeShift_ = std::exchange(pendingShift_, 0);
  if (GetUpdateRect(hwnd_, nullptr, FALSE)) return;
  const RECT client = this->client();
  RECT corner{client.left, client.top, client.left + 1, client.top + 1};
  InvalidateRect(hwnd_, &corner, FALSE);
}

void EditControl::comeBackIfHome() {
  if (firstLine_ != homeFirstLine_ || xOffset_ != homeXOffset_) return;
  away_ = false;
  pendingShift_ = homeShift_;
}

void EditControl::applyPendingShift() {
  const int dy = std::exchange(pendingShift_, 0);
  if (dy == 0) return;
  const RECT format = formatRect();
  const int band = format.bottom - format.top;
  const RECT client = this->client();
  HDC dc = GetDC(hwnd_);
  // Pixels are moved only when the whole client area shows: a window over
  // part of it would be moved along.
  RECT visible{};
  const bool whole = GetClipBox(dc, &visible) != ERROR && EqualRect(&visible, &client);
  const int width = client.right - client.left;
  if (whole && dy < 0) {
    BitBlt(dc, client.left, format.top, width, band + dy, dc, client.left, format.top - dy,
           SRCCOPY);
  } else if (whole) {
    BitBlt(dc, client.left, format.top + dy, width, band - dy, dc, client.left, format.top,
           SRCCOPY);
  }
  ReleaseDC(hwnd_, dc);
  if (!whole) refresh();
}

// Nothing but the control itself paints on its pixels when every window it
// lies in clips its children (windows above it paint on surfaces of their
// own; a sibling over it stops pixels from being moved at all).
bool EditControl::ancestorsClipChildren() const {
  for (HWND parent = GetAncestor(hwnd_, GA_PARENT); parent && parent != GetDesktopWindow();
       parent = GetAncestor(parent, GA_PARENT)) {
    if (!(GetWindowLongW(parent, GWL_STYLE) & WS_CLIPCHILDREN)) return false;
  }
  return true;
}

bool EditControl::scrollToCaret() {
  size_t first = firstLine_;
  int x = xOffset_;
  if (multiLine()) {
    size_t line = text_.lineOf(text_.caret());
    size_t visible = visibleLines();
    if (line < first) first = line;
    if (line >= first + visible) first = line - visible + 1;
  }
  if (!wordWrap() && (multiLine() || (style() & ES_AUTOHSCROLL))) {
    RECT format = formatRect();
    int width = format.right - format.left;
    int caretX = text_.xOf(text_.caret());
    if (caretX < x) x = std::max(0, caretX - width / 4);
    if (caretX >= x + width) x = caretX - width * 3 / 4;
  }
  return scrollTo(first, x);
}

namespace {

// Sets a scroll bar only when it changes: setting one repaints the frame.
void SetScrollBar(HWND hwnd, int bar, int max, UINT page, int pos) {
  SCROLLINFO now{sizeof now, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (GetScrollInfo(hwnd, bar, &now) && now.nMin == 0 && now.nMax == std::max(0, max) &&
      now.nPage == std::min<UINT>(page, static_cast<UINT>(std::max(0, max) + 1)) &&
      now.nPos == pos) {
    return;
  }
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, max, page, pos, 0};
  SetScrollInfo(hwnd, bar, &info, TRUE);
}

}  // namespace

void EditControl::updateScrollBars() {
  DWORD s = style();
  if (s & WS_VSCROLL) {
    SetScrollBar(hwnd_, SB_VERT, static_cast<int>(text_.lineCount()) - 1,
                 static_cast<UINT>(visibleLines()), static_cast<int>(firstLine_));
  }
  if (s & WS_HSCROLL) {
    RECT format = formatRect();
    int width = format.right - format.left;
    SetScrollBar(hwnd_, SB_HORZ, std::max(text_.widestLine(), width) - 1, static_cast<UINT>(width),
                 xOffset_);
  }
}

// ---------------------------------------------------------------------------
// Message handlers
// ---------------------------------------------------------------------------
LRESULT EditControl::onCreate(const CREATESTRUCTW* create) {
  if (create->style & ES_MULTILINE) limit_ = kDefaultLimit;
  relayout();
  if (create->lpszName && create->lpszName[0] != 0xFFFF) text_.setText(create->lpszName);
  updateScrollBars();
  return 0;
}

LRESULT EditControl::onPaint(HDC given) {
  if (!given) {
    if (away_) refresh();  // the view did not come back
    applyPendingShift();
    allInvalid_ = false;  // BeginPaint takes all that waits
  }
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(hwnd_, &ps);
  if (dc) {
    int saved = SaveDC(dc);
    UINT colorMessage = readOnly() || !IsWindowEnabled(hwnd_) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
    HBRUSH background = ControlSupport::askColors(hwnd_, dc, colorMessage);
    SelectObject(dc, ControlSupport::fontOr(fontHandle_));
    EditView v = view();
    EditPainter::paint(dc, text_, v, background);
    RestoreDC(dc, saved);
  }
  if (!given) EndPaint(hwnd_, &ps);
  return 0;
}

LRESULT EditControl::onSetText(LPCWSTR text) {
  const QuietScrollsScope quiet(*this);
  text_.setText(text ? std::u16string_view(text) : std::u16string_view());
  firstLine_ = 0;
  xOffset_ = 0;
  desiredX_ = -1;
  modified_ = false;
  undo_ = Undo{};
  updateScrollBars();
  refresh();
  // A multi-line control does not report a text set by WM_SETTEXT.
  if (!multiLine()) {
    notify(EN_UPDATE);
    if (IsWindow(hwnd_)) notify(EN_CHANGE);
  }
  return TRUE;
}

LRESULT EditControl::onGetText(WPARAM size, LPWSTR buffer) {
  if (!buffer || size == 0) return 0;
  size_t count = std::min<size_t>(text_.length(), size - 1);
  std::copy_n(text_.text().data(), count, buffer);
  buffer[count] = 0;
  return static_cast<LRESULT>(count);
}

LRESULT EditControl::onChar(WPARAM ch) {
  auto c = static_cast<char16_t>(ch);
  switch (c) {
    case 0x01:  // Ctrl+A
      text_.select(0, text_.length());
      refresh();
      return 0;
    case 0x03:  // Ctrl+C
      return onCopy();
    case 0x16:  // Ctrl+V
      return onPaste();
    case 0x18:  // Ctrl+X
      return onCut();
    case 0x1A:  // Ctrl+Z
      return onUndo();
    case 0x08:  // Backspace
      if (readOnly()) return 0;
      if (!text_.hasSelection())
        text_.select(text_.caret(), text_.previousCharacter(text_.caret()));
      replaceSelection(u"", true);
      return 0;
    case u'\r':
    case u'\n':
      if (multiLine() && !readOnly()) replaceSelection(u"\r\n", true);
      return 0;
    case u'\t':
      if (multiLine() && !readOnly()) replaceSelection(u"\t", true);
      return 0;
  }
  if (c < 0x20 || c == 0x7F || readOnly()) return 0;
  if ((style() & ES_NUMBER) && (c < u'0' || c > u'9')) return 0;
  replaceSelection(std::u16string_view(&c, 1), true);
  return 0;
}

LRESULT EditControl::onKeyDown(WPARAM key) {
  bool shift = keyDown(VK_SHIFT);
  bool control = keyDown(VK_CONTROL);
  size_t caret = text_.caret();
  auto collapseOr = [&](size_t edge, size_t moved) {
    return !shift && text_.hasSelection() ? edge : moved;
  };
  switch (static_cast<int>(key)) {
    case VK_LEFT:
      desiredX_ = -1;
      moveCaret(collapseOr(text_.selectionStart(),
                           control ? text_.previousWord(caret) : text_.previousCharacter(caret)),
                shift);
      return 0;
    case VK_RIGHT:
      desiredX_ = -1;
      moveCaret(collapseOr(text_.selectionEnd(),
                           control ? text_.nextWord(caret) : text_.nextCharacter(caret)),
                shift);
      return 0;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
      if (!multiLine()) return 0;
      size_t line = text_.lineOf(caret);
      size_t step = (key == VK_PRIOR || key == VK_NEXT) ? visibleLines() : 1;
      bool up = key == VK_UP || key == VK_PRIOR;
      size_t target =
          up ? (line > step ? line - step : 0) : std::min(line + step, text_.lineCount() - 1);
      if (desiredX_ < 0) desiredX_ = text_.xOf(caret);
      int x = desiredX_;
      moveCaret(text_.indexAt(target, x), shift);
      desiredX_ = x;
      return 0;
    }
    case VK_HOME: {
      desiredX_ = -1;
      size_t target = control ? 0 : text_.lineStart(text_.lineOf(caret));
      moveCaret(target, shift);
      return 0;
    }
    case VK_END: {
      desiredX_ = -1;
      size_t line = text_.lineOf(caret);
      size_t target = control ? text_.length() : text_.lineStart(line) + text_.lineLength(line);
      moveCaret(target, shift);
      return 0;
    }
    case VK_DELETE:
      if (shift) return onCut();
      if (readOnly()) return 0;
      if (!text_.hasSelection()) text_.select(caret, text_.nextCharacter(caret));
      replaceSelection(u"", true);
      return 0;
    case VK_INSERT:
      if (control) return onCopy();
      if (shift) return onPaste();
      return 0;
  }
  return DefWindowProcW(hwnd_, WM_KEYDOWN, key, 0);
}

LRESULT EditControl::onButtonDown(WPARAM keys, LPARAM point) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  size_t index = hitTest(POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}, false);
  desiredX_ = -1;
  moveCaret(index, (keys & MK_SHIFT) != 0);
  tracking_ = true;
  SetCapture(hwnd_);
  return 0;
}

LRESULT EditControl::onDoubleClick(LPARAM point) {
  size_t index = hitTest(POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}, false);
  auto [start, end] = text_.wordAt(index);
  const size_t oldStart = text_.selectionStart(), oldEnd = text_.selectionEnd();
  text_.select(start, end);
  scrollToCaret();
  selectionMoved(oldStart, oldEnd);
  return 0;
}

LRESULT EditControl::onMouseMove(LPARAM point) {
  if (!tracking_ || GetCapture() != hwnd_) return 0;
  moveCaret(hitTest(POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}, false), true);
  return 0;
}

LRESULT EditControl::onButtonUp() {
  if (tracking_ && GetCapture() == hwnd_) ReleaseCapture();
  tracking_ = false;
  return 0;
}

LRESULT EditControl::onFocus(bool focused) {
  focused_ = focused;
  refresh();
  notify(focused ? EN_SETFOCUS : EN_KILLFOCUS);
  return 0;
}

LRESULT EditControl::onSetFont(WPARAM font, LPARAM redraw) {
  fontHandle_ = reinterpret_cast<HFONT>(font);
  auto object = fontOf(ControlSupport::fontOr(fontHandle_));
  if (object) widths_.setFont(object);
  relayout();
  if (LOWORD(redraw)) refresh();
  return 0;
}

LRESULT EditControl::onSize() {
  relayout();
  refresh();
  return 0;
}

LRESULT EditControl::onScroll(bool vertical, WORD code, int thumb) {
  if (vertical) {
    size_t page = visibleLines();
    size_t last = text_.lineCount() - 1;
    size_t first = firstLine_;
    switch (code) {
      case SB_LINEUP:
        first = first > 0 ? first - 1 : 0;
        break;
      case SB_LINEDOWN:
        first = std::min(first + 1, last);
        break;
      case SB_PAGEUP:
        first = first > page ? first - page : 0;
        break;
      case SB_PAGEDOWN:
        first = std::min(first + page, last);
        break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION:
        first = static_cast<size_t>(std::max(0, thumb));
        break;
      case SB_TOP:
        first = 0;
        break;
      case SB_BOTTOM:
        first = last;
        break;
    }
    // The last page stays full.
    size_t lastFirst = text_.lineCount() > page ? text_.lineCount() - page : 0;
    scrollTo(std::min(first, lastFirst), xOffset_);
    return 0;
  }
  int step = widths_.averageWidth();
  RECT format = formatRect();
  int page = format.right - format.left;
  int x = xOffset_;
  switch (code) {
    case SB_LINELEFT:
      x -= step;
      break;
    case SB_LINERIGHT:
      x += step;
      break;
    case SB_PAGELEFT:
      x -= page;
      break;
    case SB_PAGERIGHT:
      x += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      x = thumb;
      break;
  }
  scrollTo(firstLine_, std::clamp(x, 0, std::max(0, text_.widestLine() - page)));
  return 0;
}

LRESULT EditControl::onMouseWheel(WPARAM wParam) {
  if (!multiLine()) return 0;
  int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  for (int i = 0; i < std::abs(notches) * kWheelLines; ++i)
    onScroll(true, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  return 0;
}

LRESULT EditControl::onGetDialogCode(WPARAM key, LPARAM message) {
  LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
  if (!multiLine()) return code;
  if (const auto* msg = reinterpret_cast<const MSG*>(message)) key = msg->wParam;
  // Return only with ES_WANTRETURN; Tab and Escape stay with the dialog.
  switch (static_cast<int>(key)) {
    case VK_RETURN:
      return (style() & ES_WANTRETURN) ? code | DLGC_WANTALLKEYS : code;
    case VK_TAB:
    case VK_ESCAPE:
      return code;
  }
  return code | DLGC_WANTALLKEYS;
}

LRESULT EditControl::onGetSel(WPARAM start, LPARAM end) {
  auto first = static_cast<DWORD>(text_.selectionStart());
  auto last = static_cast<DWORD>(text_.selectionEnd());
  if (auto* out = reinterpret_cast<DWORD*>(start)) *out = first;
  if (auto* out = reinterpret_cast<DWORD*>(end)) *out = last;
  if (first > 0xFFFF || last > 0xFFFF) return -1;
  return MAKELRESULT(static_cast<WORD>(first), static_cast<WORD>(last));
}

// Start -1 removes the selection; an end below 0 or past the text is the
// text's end; the start is the anchor and the end the caret.
LRESULT EditControl::onSetSel(WPARAM startParam, LPARAM endParam) {
  auto start = static_cast<int>(startParam);
  auto end = static_cast<int>(endParam);
  size_t length = text_.length();
  const size_t oldStart = text_.selectionStart(), oldEnd = text_.selectionEnd();
  if (start == -1) {
    text_.select(text_.caret(), text_.caret());
  } else {
    size_t anchor = start < 0 ? length : std::min<size_t>(static_cast<size_t>(start), length);
    size_t caret = end < 0 ? length : std::min<size_t>(static_cast<size_t>(end), length);
    text_.select(anchor, caret);
  }
  desiredX_ = -1;
  selectionMoved(oldStart, oldEnd);
  return 0;
}

LRESULT EditControl::onScrollCaret() {
  const QuietScrollsScope quiet(*this);
  scrollToCaret();
  return TRUE;
}

LRESULT EditControl::onLimitText(WPARAM limit) {
  if (limit == 0) {
    limit_ = multiLine() ? kMultiLineMaximum : kSingleLineMaximum;
  } else {
    limit_ = static_cast<size_t>(limit);
  }
  return 0;
}

LRESULT EditControl::onSetPasswordChar(WPARAM ch) {
  if (multiLine()) return 0;
  password_ = static_cast<char16_t>(ch);
  DWORD s = style();
  DWORD next = password_ ? (s | ES_PASSWORD) : (s & ~ES_PASSWORD);
  if (next != s) SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(next));
  relayout();
  refresh();
  return 0;
}

LRESULT EditControl::onSetReadOnly(WPARAM readOnly) {
  DWORD s = style();
  DWORD next = readOnly ? (s | ES_READONLY) : (s & ~ES_READONLY);
  if (next != s) SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(next));
  refresh();
  return TRUE;
}

LRESULT EditControl::onSetCueBanner(WPARAM whenFocused, LPARAM text) {
  if (multiLine()) return FALSE;
  auto* cue = reinterpret_cast<LPCWSTR>(text);
  cue_ = cue ? std::u16string(cue) : std::u16string();
  cueWhenFocused_ = whenFocused != 0;
  refresh();
  return TRUE;
}

LRESULT EditControl::onGetCueBanner(WPARAM buffer, LPARAM size) {
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  if (!out || size <= 0 || cue_.empty()) return FALSE;
  size_t count = std::min<size_t>(cue_.size(), static_cast<size_t>(size) - 1);
  std::copy_n(cue_.data(), count, out);
  out[count] = 0;
  return TRUE;
}

LRESULT EditControl::onReplaceSel(WPARAM, LPARAM text) {
  auto* with = reinterpret_cast<LPCWSTR>(text);
  const QuietScrollsScope quiet(*this);
  replaceSelection(with ? std::u16string_view(with) : std::u16string_view(), false);
  return 0;
}

LRESULT EditControl::onLineIndex(WPARAM line) {
  auto asked = static_cast<int>(line);
  size_t target = asked < 0 ? text_.lineOf(text_.caret()) : static_cast<size_t>(asked);
  if (target >= text_.lineCount()) return -1;
  return static_cast<LRESULT>(text_.lineStart(target));
}

LRESULT EditControl::onLineLength(WPARAM index) {
  auto asked = static_cast<int>(index);
  if (asked < 0) {
    if (!text_.hasSelection())
      return static_cast<LRESULT>(text_.lineLength(text_.lineOf(text_.caret())));
    // The characters of the selected lines that are not selected.
    size_t first = text_.lineOf(text_.selectionStart());
    size_t last = text_.lineOf(text_.selectionEnd());
    size_t before = text_.selectionStart() - text_.lineStart(first);
    size_t after = text_.lineStart(last) + text_.lineLength(last) -
                   std::min(text_.selectionEnd(), text_.lineStart(last) + text_.lineLength(last));
    return static_cast<LRESULT>(before + after);
  }
  return static_cast<LRESULT>(text_.lineLength(text_.lineOf(static_cast<size_t>(asked))));
}

LRESULT EditControl::onLineFromChar(WPARAM index) {
  auto asked = static_cast<int>(index);
  size_t at = asked < 0 ? text_.selectionStart() : static_cast<size_t>(asked);
  return static_cast<LRESULT>(text_.lineOf(at));
}

LRESULT EditControl::onGetLine(WPARAM line, LPARAM buffer) {
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  if (!out || line >= text_.lineCount()) return 0;
  size_t room = static_cast<WORD>(out[0]);
  std::u16string_view text = text_.lineText(line);
  size_t count = std::min(room, text.size());
  std::copy_n(text.data(), count, out);
  return static_cast<LRESULT>(count);
}

LRESULT EditControl::onLineScroll(WPARAM columns, LPARAM lines) {
  if (!multiLine()) return FALSE;
  long long first = static_cast<long long>(firstLine_) + static_cast<int>(lines);
  int x = xOffset_ + static_cast<int>(columns) * widths_.averageWidth();
  scrollTo(static_cast<size_t>(std::max(0LL, first)), wordWrap() ? 0 : x);
  return TRUE;
}

LRESULT EditControl::onScrollMessage(WPARAM action) {
  if (!multiLine()) return FALSE;
  size_t before = firstLine_;
  auto code = static_cast<WORD>(action);
  if (code != SB_LINEUP && code != SB_LINEDOWN && code != SB_PAGEUP && code != SB_PAGEDOWN) {
    return FALSE;
  }
  onScroll(true, code, 0);
  auto moved = static_cast<long long>(firstLine_) - static_cast<long long>(before);
  return MAKELRESULT(static_cast<WORD>(static_cast<SHORT>(moved)), TRUE);
}

LRESULT EditControl::onGetRect(LPARAM rect) {
  if (auto* out = reinterpret_cast<RECT*>(rect)) *out = formatRect();
  return 0;
}

LRESULT EditControl::onSetMargins(WPARAM which, LPARAM margins) {
  if (which & EC_LEFTMARGIN) leftMargin_ = LOWORD(margins) == EC_USEFONTINFO ? 1 : LOWORD(margins);
  if (which & EC_RIGHTMARGIN) {
    rightMargin_ = HIWORD(margins) == EC_USEFONTINFO ? 1 : HIWORD(margins);
  }
  relayout();
  refresh();
  return 0;
}

LRESULT EditControl::onPosFromChar(WPARAM index) {
  if (index > text_.length()) return -1;
  EditView v = view();
  size_t line = text_.lineOf(index);
  int x = EditPainter::lineLeft(text_, v, line) + text_.xOf(index);
  int y = v.format.top + (static_cast<int>(line) - static_cast<int>(v.firstLine)) * v.lineHeight;
  return pointParam(x, y);
}

LRESULT EditControl::onCharFromPos(LPARAM point) {
  size_t index = hitTest(POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}, false);
  size_t line = text_.lineOf(index);
  return MAKELRESULT(static_cast<WORD>(std::min<size_t>(index, 0xFFFF)),
                     static_cast<WORD>(std::min<size_t>(line, 0xFFFF)));
}

LRESULT EditControl::onUndo() {
  if (!undo_.available || readOnly()) return FALSE;
  Undo step = undo_;
  std::u16string inserted =
      text_.text().substr(step.start, std::min(step.insertedLength, text_.length() - step.start));
  applyReplacement(step.start, step.start + inserted.size(), step.removed, false);
  text_.select(step.start, step.start + step.removed.size());
  undo_ = Undo{true, step.start, step.removed.size(), inserted};
  changed();
  return TRUE;
}

LRESULT EditControl::onCopy() {
  if (mask() || !text_.hasSelection()) return 0;
  SetClipboardText(text_.selectedText());
  return 0;
}

LRESULT EditControl::onCut() {
  if (mask() || readOnly() || !text_.hasSelection()) return 0;
  SetClipboardText(text_.selectedText());
  replaceSelection(u"", false);
  return 0;
}

LRESULT EditControl::onPaste() {
  if (readOnly() || !ClipboardHasText()) return 0;
  replaceSelection(ClipboardText(), false);
  return 0;
}

LRESULT EditControl::onClear() {
  if (readOnly() || !text_.hasSelection()) return 0;
  replaceSelection(u"", false);
  return 0;
}

LRESULT EditControl::onStyleChanged() {
  relayout();
  refresh();
  return 0;
}

}  // namespace platform::internal
