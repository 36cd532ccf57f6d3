// The engine's record of one window: what to create, how the common message
// handler treats its messages, and who hears about them.
//
// Every form and every windowed control has one (a windowless control has one
// too, with an empty class name). The record is owned by its ControlRecord,
// which the form's FormState keeps alive until the FormState itself is freed,
// so a window procedure may hold a pointer to it across a message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com.h"
#include "platform/user.h"

namespace rt {

class FormState;
struct ControlRecord;
class WindowEventSink;

// Engine flags of a window record.
namespace wflag {
inline constexpr uint32_t MdiChildForm = 0x40000;
inline constexpr uint32_t MdiParentForm = 0x80000;
inline constexpr uint32_t SwallowTabAndEnter = 0x100000;  // multi-line text boxes
inline constexpr uint32_t CreatedAsChild = 0x2000000;
}  // namespace wflag

// Event flags of a window record.
namespace eflag {
inline constexpr uint32_t NoClickFromNotification = 0x2000;
inline constexpr uint32_t EventsOnlyWhileEnabled = 0x1000;
inline constexpr uint32_t CaptureWhileButtonDown = 0x800000;
inline constexpr uint32_t AddScaleOrigin = 0x400000;
}  // namespace eflag

// "No such event" in the event-id fields.
inline constexpr DISPID NoEvent = -1;

// The click and mouse events shared by every control.
inline constexpr DISPID EventMouseDown = static_cast<DISPID>(0xEAEA0001);
inline constexpr DISPID EventMouseMove = static_cast<DISPID>(0xEAEA0002);
inline constexpr DISPID EventMouseUp = static_cast<DISPID>(0xEAEA0003);
inline constexpr DISPID EventClick = static_cast<DISPID>(0xEAEA0004);

struct WindowRecord {
  // --- What to create (filled by the control's fillWindowRecord) ---------
  HWND hwnd = nullptr;       // null until created and again after WM_NCDESTROY
  std::u16string className;  // empty: windowless control
  std::u16string text;       // window text (caption)
  DWORD style = 0;           // WS_VISIBLE here means "show after creation"
  DWORD exStyle = 0;
  uint32_t flags = 0;               // wflag::*
  bool parked = false;              // create under the parking window
  bool subclass = false;            // foreign class: subclass after creation
  bool forceTabStop = false;        // add WS_TABSTOP after creation
  bool visualStyles = false;        // the design asks for visual styles (keep the theme)
  bool visibleRequested = false;    // Visible was set before the window existed
  bool allowsFocus = true;          // false: never a Tab candidate (labels, frames, timers)
  bool optionStyle = false;         // an option button: the option-group rule applies
  bool userControlClass = false;    // a left press makes it the form's active control
  bool asksForEvents = false;       // connect it to its container's event-sink list after load
  bool asksForAllMessages = false;  // hand every message to the sinks after default processing

  // --- Subclassing (filled by Subclass) ----------------------------------
  WNDPROC previousProc = nullptr;  // the procedure the subclass replaced
  bool ansi = false;               // the window was not a Unicode window
  bool subclassed = false;

  // --- Events --------------------------------------------------------------
  DISPID clickEvent = NoEvent;
  DISPID mouseDownEvent = NoEvent;
  DISPID mouseMoveEvent = NoEvent;
  DISPID mouseUpEvent = NoEvent;
  DISPID gotFocusEvent = NoEvent;
  uint32_t eventFlags = 0;  // eflag::*
  // Extender objects and controls told about what happens to the window.
  // The list holds counted references; entries are added and removed by
  // AddEventSink/RemoveEventSink below, never while the list is being walked
  // (a walk goes over a SinkSnapshot).
  std::vector<ComPtr<WindowEventSink>> eventSinks;

  // --- Bookkeeping of the common handler --------------------------------
  // Incremented on WM_NCDESTROY. A procedure that sees it change across the
  // before pass touches nothing of the record afterwards.
  uint32_t generation = 0;
  bool focusLossPosted = false;  // once-per-loss flag of the deferred focus messages
  bool focusInside = false;      // windowless form or user control: the focus is inside
  bool captured = false;         // the mouse was captured on a button press

  // --- Links ----------------------------------------------------------------
  FormState* form = nullptr;         // the form this window belongs to (not counted)
  ControlRecord* control = nullptr;  // the control (or form) that owns this record
  HWND parentAtCreation = nullptr;   // the parent remembered on WM_NCCREATE
};

void AddEventSink(WindowRecord& record, WindowEventSink* sink);
void RemoveEventSink(WindowRecord& record, WindowEventSink* sink);

}  // namespace rt
