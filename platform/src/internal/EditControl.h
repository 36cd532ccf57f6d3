// A window of the "EDIT" class: single- or multi-line editing over an
// EditText, with the caret and selection driven by keys and the mouse, the
// clipboard, scrolling (and the window's scroll bars), the edit messages,
// and EN_UPDATE/EN_CHANGE to the parent.
//
// Painting costs what changed, not the text's length: a change repaints
// the lines from the first one it may have altered on (within a paragraph,
// the line before the change), a selection move the lines it touches
// (nothing while the selection is hidden), and scrolling by less than a
// page moves what stays in view on the screen and repaints the lines that
// come into view. Appending a line at the end of a long log and scrolling
// to it paints one or two lines.
//
// Nothing is painted inside a change: changes, selection moves and scrolls
// only invalidate (scrolls also note how far the shown lines must move),
// and the window paints on WM_PAINT, when its thread finds no other message
// waiting. A burst of appends between two turns of the message loop costs
// its text and paints the window once; a view that scrolls away and back
// before the window paints (a log's caret put at its start and then at its
// end) costs no more painting than if it had stayed.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "internal/EditPainter.h"
#include "internal/EditText.h"
#include "internal/Font.h"

namespace platform::internal {

// Character widths of the control's font; a password box measures every
// character as its mask. The widths of the first 256 characters are kept
// here as well: the font's own table is shared between threads and locked
// on every look-up, and wrapping a line looks up each of its characters.
class FontWidths final : public CharWidths {
 public:
  FontWidths() { forget(); }
  void setFont(std::shared_ptr<Font> font) {
    font_ = std::move(font);
    forget();
    const FontMetrics& metrics = font_->metrics();
    lineHeight_ = metrics.height;
    averageWidth_ = metrics.aveCharWidth;
  }
  void setMask(char16_t mask) {
    if (mask == mask_) return;
    mask_ = mask;
    forget();
  }
  const Font& font() const { return *font_; }
  // near_[ch] is the width ch is shown with (the mask's when there is one).
  int width(char16_t ch) const override {
    const char16_t shown = mask_ ? mask_ : ch;
    if (ch >= near_.size()) return font_->advance(shown);
    int16_t& known = near_[ch];
    if (known < 0) known = static_cast<int16_t>(font_->advance(shown));
    return known;
  }
  const int16_t* knownWidths() const override { return near_.data(); }
  int tabStop() const override { return 8 * averageWidth_; }
  int lineHeight() const { return lineHeight_; }
  int averageWidth() const { return averageWidth_; }

 private:
  void forget() { near_.fill(-1); }

  std::shared_ptr<Font> font_;
  int lineHeight_ = 1;
  int averageWidth_ = 1;
  char16_t mask_ = 0;
  mutable std::array<int16_t, 256> near_;
};

class EditControl {
 public:
  explicit EditControl(HWND hwnd);

  static LRESULT procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // One step of undo: the characters at `start` that replaced `removed`.
  struct Undo {
    bool available = false;
    size_t start = 0;
    size_t insertedLength = 0;
    std::u16string removed;
  };

  LRESULT onCreate(const CREATESTRUCTW* create);
  LRESULT onPaint(HDC given);
  LRESULT onSetText(LPCWSTR text);
  LRESULT onGetText(WPARAM size, LPWSTR buffer);
  LRESULT onChar(WPARAM ch);
  LRESULT onKeyDown(WPARAM key);
  LRESULT onButtonDown(WPARAM keys, LPARAM point);
  LRESULT onDoubleClick(LPARAM point);
  LRESULT onMouseMove(LPARAM point);
  LRESULT onButtonUp();
  LRESULT onFocus(bool focused);
  LRESULT onSetFont(WPARAM font, LPARAM redraw);
  LRESULT onSize();
  LRESULT onScroll(bool vertical, WORD code, int thumb);
  LRESULT onMouseWheel(WPARAM wParam);
  LRESULT onGetDialogCode(WPARAM key, LPARAM message);
  LRESULT onGetSel(WPARAM start, LPARAM end);
  LRESULT onSetSel(WPARAM start, LPARAM end);
  LRESULT onScrollCaret();
  LRESULT onLimitText(WPARAM limit);
  LRESULT onSetPasswordChar(WPARAM ch);
  LRESULT onSetReadOnly(WPARAM readOnly);
  LRESULT onSetCueBanner(WPARAM whenFocused, LPARAM text);
  LRESULT onGetCueBanner(WPARAM buffer, LPARAM size);
  LRESULT onReplaceSel(WPARAM canUndo, LPARAM text);
  LRESULT onLineIndex(WPARAM line);
  LRESULT onLineLength(WPARAM index);
  LRESULT onLineFromChar(WPARAM index);
  LRESULT onGetLine(WPARAM line, LPARAM buffer);
  LRESULT onLineScroll(WPARAM columns, LPARAM lines);
  LRESULT onScrollMessage(WPARAM action);
  LRESULT onGetRect(LPARAM rect);
  LRESULT onSetMargins(WPARAM which, LPARAM margins);
  LRESULT onPosFromChar(WPARAM index);
  LRESULT onCharFromPos(LPARAM point);
  LRESULT onUndo();
  LRESULT onCut();
  LRESULT onCopy();
  LRESULT onPaste();
  LRESULT onClear();
  LRESULT onStyleChanged();

  void forgetWindowState();
  DWORD style() const;
  RECT client() const;
  bool multiLine() const { return (style() & ES_MULTILINE) != 0; }
  bool readOnly() const { return (style() & ES_READONLY) != 0; }
  bool wordWrap() const { return multiLine() && !(style() & ES_AUTOHSCROLL); }
  char16_t mask() const;
  EditView view();
  RECT formatRect() const;
  int lineHeight() const { return widths_.lineHeight(); }
  size_t visibleLines() const;
  void relayout();

  // Replaces the selection as the user or EM_REPLACESEL does: filtered by
  // the styles, cut to the limit; false when nothing could change.
  bool replaceSelection(std::u16string_view with, bool typed);
  void applyReplacement(size_t start, size_t end, std::u16string_view with, bool keepUndo);
  void changed();
  void moveCaret(size_t caret, bool extend);
  size_t hitTest(POINT client, bool clampToView);
  // Both answer whether the view moved.
  // Holds back EN_VSCROLL/EN_HSCROLL while a program's request runs.
  class QuietScrollsScope {
   public:
    explicit QuietScrollsScope(EditControl& edit)
        : edit_(edit), announced_(std::exchange(edit.announceScrolls_, false)) {}
    ~QuietScrollsScope() { edit_.announceScrolls_ = announced_; }
    QuietScrollsScope(const QuietScrollsScope&) = delete;
    QuietScrollsScope& operator=(const QuietScrollsScope&) = delete;

   private:
    EditControl& edit_;
    bool announced_;
  };
  bool scrollToCaret();
  bool scrollTo(size_t firstLine, int xOffset);
  void updateScrollBars();
  void refresh();
  bool wholeWindowWaits();
  // Repaints only what changed: the lines from `first` to `last` (npos: to
  // the bottom of the window) as far as they are in view; a single-line
  // control repaints whole.
  void invalidateLines(size_t first, size_t last);
  // After the selection moved from oldStart..oldEnd: the lines of the old
  // and the new selection, when the selection or the caret is shown.
  void selectionMoved(size_t oldStart, size_t oldEnd);
  // After the first visible line moved (the horizontal offset being as it
  // was): what stays in view is moved on the screen and only the lines
  // that come into view are repainted.
  void scrollView(size_t oldFirstLine, int oldXOffset);
  // Moves the shown lines on the screen by the scrolls made since the last
  // paint, before the window paints what they exposed.
  void applyPendingShift();
  // A scroll too far for moving pixels: the screen keeps the view it shows
  // until the window paints, unless the view comes back to it first.
  void goAway(size_t homeFirstLine, int homeXOffset);
  void comeBackIfHome();
  bool ancestorsClipChildren() const;
  void notify(WORD code);

  HWND hwnd_;
  mutable DWORD style_ = 0;
  mutable bool styleKnown_ = false;
  mutable RECT client_{};
  mutable bool clientKnown_ = false;
  HFONT fontHandle_ = nullptr;
  FontWidths widths_;
  EditText text_;
  size_t limit_;
  char16_t password_ = u'*';
  std::u16string cue_;
  bool cueWhenFocused_ = false;
  int leftMargin_ = 1;
  int rightMargin_ = 1;
  size_t firstLine_ = 0;
  int xOffset_ = 0;
  // Pixels the lines on the screen must still move down (negative: up) to
  // show the first line: scrolling moves them when the window paints.
  int pendingShift_ = 0;
  // The whole window waits to be painted (since refresh, until WM_PAINT):
  // changes and scrolls have nothing to add.
  bool allInvalid_ = false;
  // The view has left what the screen shows (home: the first line, the
  // horizontal offset and the pending shift of that view); the window is
  // painted whole unless the view comes back before it paints.
  bool away_ = false;
  size_t homeFirstLine_ = 0;
  int homeXOffset_ = 0;
  int homeShift_ = 0;
  int desiredX_ = -1;
  bool focused_ = false;
  // EN_VSCROLL and EN_HSCROLL tell the parent of scrolls the user caused
  // (scroll bar, wheel, keys, typing); a scroll that follows a program's
  // EM_REPLACESEL, EM_SCROLLCARET or WM_SETTEXT is not announced.
  bool announceScrolls_ = true;
  bool tracking_ = false;
  bool modified_ = false;
  Undo undo_;
};

}  // namespace platform::internal
