// Draws an edit control's visible lines: the text in the colours its parent
// chose, the selection in the highlight colours, the cue banner of an empty
// box, and the caret.
#pragma once

#include <string_view>

#include "internal/EditText.h"
#include "platform/controls.h"

namespace platform::internal {

// What the edit window shows of its text.
struct EditView {
  RECT format{};  // where text goes, in client coordinates
  size_t firstLine = 0;
  int xOffset = 0;  // pixels scrolled to the left
  int lineHeight = 1;
  UINT alignment = 0;  // ES_LEFT, ES_CENTER or ES_RIGHT
  bool showSelection = false;
  bool showCaret = false;
  char16_t mask = 0;  // the password character, 0 for none
  bool enabled = true;
  std::u16string_view cue;  // shown instead of an empty text when set
};

class EditPainter {
 public:
  // The x of a line's first character in client coordinates.
  static int lineLeft(EditText& text, const EditView& view, size_t line);
  static void paint(HDC dc, EditText& text, const EditView& view, HBRUSH background);

 private:
  static void drawLine(HDC dc, EditText& text, const EditView& view, size_t line, int y);
  static void drawRuns(HDC dc, EditText& text, const EditView& view, size_t start, size_t length,
                       int left, int y);
};

}  // namespace platform::internal
