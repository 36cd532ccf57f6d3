#include "internal/MessageBoxLayout.h"

#include "platform/dialogs.h"

#include <algorithm>

namespace platform::internal {
namespace {

constexpr int kHelpId = 9;  // IDHELP

MessageBoxButton button(int id) {
  switch (id) {
    case IDOK:
      return {id, u"OK"};
    case IDCANCEL:
      return {id, u"Cancel"};
    case IDABORT:
      return {id, u"&Abort"};
    case IDRETRY:
      return {id, u"&Retry"};
    case IDIGNORE:
      return {id, u"&Ignore"};
    case IDYES:
      return {id, u"&Yes"};
    case IDNO:
      return {id, u"&No"};
    case IDTRYAGAIN:
      return {id, u"&Try Again"};
    case IDCONTINUE:
      return {id, u"&Continue"};
    default:
      return {kHelpId, u"Help"};
  }
}

}  // namespace

std::vector<MessageBoxButton> MessageBoxLayout::buttonsOf(UINT style) {
  std::vector<MessageBoxButton> buttons;
  for (int id : ButtonIdsOf(style))
    buttons.push_back(button(id));
  if (style & MB_HELP) buttons.push_back(button(kHelpId));
  return buttons;
}

int MessageBoxLayout::cancelAnswerOf(UINT style) {
  std::vector<int> ids = ButtonIdsOf(style);
  if (std::find(ids.begin(), ids.end(), IDCANCEL) != ids.end()) return IDCANCEL;
  return ids.size() == 1 ? IDOK : 0;
}

size_t MessageBoxLayout::defaultIndexOf(UINT style) {
  size_t index = (style & MB_DEFMASK) >> 8;
  return index < buttonsOf(style).size() ? index : 0;
}

MessageBoxLayout::MessageBoxLayout(UINT style, SIZE textSize, int dpi)
    : dpi_(dpi), buttons_(buttonsOf(style)) {
  int margin = scaled(12);
  int iconSize = (style & MB_ICONMASK) ? scaled(32) : 0;
  int textLeft = margin + (iconSize ? iconSize + margin : 0);
  int contentHeight = std::max<int>(iconSize, textSize.cy);
  if (iconSize) icon_ = RECT{margin, margin, margin + iconSize, margin + iconSize};
  // A text shorter than the icon is centred on it.
  int textTop = margin + (contentHeight - textSize.cy) / 2;
  text_ = RECT{textLeft, textTop, textLeft + textSize.cx, textTop + textSize.cy};

  int buttonWidth = scaled(75), buttonHeight = scaled(23), gap = scaled(6);
  int count = static_cast<int>(buttons_.size());
  int rowWidth = count * buttonWidth + (count - 1) * gap;
  int width = std::max<int>(text_.right + margin, rowWidth + 2 * margin);
  width = std::max(width, scaled(160));
  int rowTop = margin + contentHeight + margin;
  row_ = RECT{0, rowTop, width, rowTop + buttonHeight + 2 * scaled(11)};
  int left = (width - rowWidth) / 2;
  for (MessageBoxButton& b : buttons_) {
    b.rect =
        RECT{left, rowTop + scaled(11), left + buttonWidth, rowTop + scaled(11) + buttonHeight};
    left += buttonWidth + gap;
  }
  client_ = SIZE{width, row_.bottom};
}

}  // namespace platform::internal
