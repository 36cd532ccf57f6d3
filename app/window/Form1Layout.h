// Form1's controls in design order: class, container, place and size (in
// pixels at 96 dots per inch, relative to the container's client area),
// caption or initial text, and tooltip. The socket controls and the timer
// have no window.
#pragma once

#include <span>

namespace skiffwire {

enum class ControlClass { Frame, Label, TextBox, CommandButton, CheckBox, Shape, Socket, Timer };

// How a text box shows its text.
enum class TextLook { SingleLine, MultiLine, Log };

struct ControlLayout {
  const char16_t* name;
  ControlClass controlClass;
  // The index of the containing frame in the table; -1 for the form.
  int container;
  int left, top, width, height;
  const char16_t* text;
  const char16_t* tooltip;
  TextLook look = TextLook::SingleLine;
};

// The form's client area at 96 dots per inch.
inline constexpr int kForm1ClientWidth = 760;
inline constexpr int kForm1ClientHeight = 480;

// The form's caption before its load handler sets its own.
inline constexpr const char16_t* kForm1DesignCaption = u"Form1";

std::span<const ControlLayout> Form1Layout();

}  // namespace skiffwire
