// The interfaces through which the forms engine reaches a control object (and
// the Form object, which is a control to the engine), a container, and the
// listeners of a window.
//
// Every control class implements EngineControl; classes that contain other
// controls (Form, Frame, user controls) also answer EngineContainer through
// QueryInterface. Methods with a body are optional: the default is what a
// control without that feature does. All calls happen on the forms thread.
// A method that raises an event may run user code which can unload the form
// or the control itself; the engine holds references across such calls.
#pragma once

#include <span>
#include <string>

#include "platform/com.h"
#include "platform/gdi.h"
#include "platform/oleauto.h"
#include "platform/user.h"

namespace rt {

class PropertyReader;  // runtime/forms/design/PropertyReader.h
struct ControlRecord;
struct WindowRecord;

// Form-level settings the engine reads when it builds and shows a form
// window (the Form object fills them from its properties).
struct FormSettings {
  int borderStyle = 2;  // 0 none, 1 fixed single, 2 sizable, 3 fixed dialog, 4 fixed tool
                        // window, 5 sizable tool window, 6 and 7 without caption
  bool controlBox = true;
  bool maxButton = true;
  bool minButton = true;
  bool showInTaskbar = true;
  bool whatsThisHelp = false;  // the context-help property
  bool keyPreview = false;
  bool hasMenu = false;
  bool autoShowChildren = true;    // MDI parent forms
  bool keyboardCuesSet = false;    // the design property for the UI-state message
  bool selectTextOnArrow = false;  // arrow navigation selects the text of edit controls
  int startUpPosition = 0;         // 0 manual, 1 centre owner, 2 centre screen, 3 system default
  int windowState = 0;             // 0 normal, 1 minimized, 2 maximized
  double clientWidth = 0;          // stored client size in pixels at 96 DPI
  double clientHeight = 0;
  double left = 0;  // stored position in pixels at 96 DPI
  double top = 0;
};

// Unload modes of BeforeUnload.
namespace unloadmode {
inline constexpr int UserClose = 0;
inline constexpr int Program = 1;
inline constexpr int SystemShutdown = 2;
inline constexpr int MdiParentUnloading = 4;
inline constexpr int OwnerUnloading = 5;
}  // namespace unloadmode

// {5C0F7E41-2B8E-4D0C-9A57-1E3A6B7C8D01}
inline constexpr IID IID_EngineControl{
    0x5C0F7E41, 0x2B8E, 0x4D0C, {0x9A, 0x57, 0x1E, 0x3A, 0x6B, 0x7C, 0x8D, 0x01}};
// {5C0F7E42-2B8E-4D0C-9A57-1E3A6B7C8D01}
inline constexpr IID IID_EngineContainer{
    0x5C0F7E42, 0x2B8E, 0x4D0C, {0x9A, 0x57, 0x1E, 0x3A, 0x6B, 0x7C, 0x8D, 0x01}};
// {5C0F7E43-2B8E-4D0C-9A57-1E3A6B7C8D01}
inline constexpr IID IID_WindowEventSink{
    0x5C0F7E43, 0x2B8E, 0x4D0C, {0x9A, 0x57, 0x1E, 0x3A, 0x6B, 0x7C, 0x8D, 0x01}};

class EngineControl : public IUnknown {
 public:
  // --- Records and creation ------------------------------------------------
  // The engine made this control's record; keep it (the control reaches its
  // window, placement and form through it). Called before fillWindowRecord.
  virtual void attachRecord(ControlRecord& record) = 0;
  // Fill class name, text, styles, flags and event ids of the window record.
  virtual HRESULT fillWindowRecord(WindowRecord& record) = 0;
  // Decode the design property block into the control's property storage.
  virtual HRESULT readDesign(PropertyReader&) { return S_OK; }
  // Create the window: the default in the engine is CreateWindowForRecord;
  // a control overrides only to prepare something first.
  virtual HRESULT createWindow(ControlRecord& record, HWND parent);
  // The window exists (or, windowless, the record is complete).
  virtual void afterCreate(HWND) {}
  // The post-load pass of the form (Part of loading, after layout).
  virtual void postLoad() {}
  // The window is gone (form destruction tells each child once).
  virtual void windowGone() {}
  // The control is being released by its form: drop references, free storage.
  virtual void terminate() {}

  // --- Messages ----------------------------------------------------------------
  // The control's own look at a message of its window, before the common
  // handler's keyboard and mouse processing; true answers it with *result.
  // The Form object also sees here, first, the keys of its controls when
  // its KeyPreview is on; true keeps such a key from its control.
  virtual bool onMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) {
    (void)msg, (void)result;
    return false;
  }

  // --- Events ----------------------------------------------------------------
  // Raise event `id` with its arguments (first argument first). A control
  // without a connected sink succeeds without doing anything.
  virtual HRESULT raiseEvent(DISPID id, std::span<Variant> args) = 0;

  // --- Windowless controls and properties the engine reads -----------------
  // Paint a windowless control into its container's DC (pixels).
  virtual void paintWindowless(HDC) {}
  // The control's rectangle in its container's client pixels (windowless).
  virtual bool windowlessRect(RECT*) { return false; }
  // The tab index; false when the control has none.
  virtual bool tabIndex(int32_t* index) {
    (void)index;
    return false;
  }
  virtual bool tabStop() { return false; }  // windowless controls only
  virtual bool visible() { return true; }   // windowless controls only
  virtual bool enabled() { return true; }   // windowless controls only
  // The default property (Value of option buttons), as a 32-bit integer.
  virtual HRESULT getDefaultValue(LONG* value) {
    *value = 0;
    return E_NOTIMPL;
  }
  virtual HRESULT setDefaultValue(LONG) { return E_NOTIMPL; }
  // Tooltip text; empty for none.
  virtual std::u16string toolTipText() { return {}; }
  // MousePointer 0 to 18; 19 and above count as 0.
  virtual int mousePointer() { return 0; }
  // A left press goes to pressAutomatically() instead of the mouse events.
  virtual bool autoPress() { return false; }
  virtual void pressAutomatically() {}
  // Default and Cancel buttons.
  virtual bool isDefaultButton() { return false; }
  virtual bool isCancelButton() { return false; }
  // The validation check before keyboard navigation moves the focus to this
  // control; false vetoes the move.
  virtual bool validate() { return true; }

  // --- The Form object only ---------------------------------------------------
  virtual void formSettings(FormSettings&) {}
  // BeforeUnload with an UnloadMode; *cancel non-zero cancels.
  virtual HRESULT beforeUnload(int mode, SHORT* cancel) {
    (void)mode;
    *cancel = 0;
    return S_OK;
  }
};

// Containers (Form, Frame, user controls): the geometry of their children.
class EngineContainer : public IUnknown {
 public:
  enum class Edge { Left, Top, Width, Height };
  // Get or set one of a child's values in this container's scale units.
  virtual HRESULT childValue(ControlRecord& child, Edge edge, double* value) = 0;
  virtual HRESULT setChildValue(ControlRecord& child, Edge edge, double value) = 0;
  // The window that parents this container's children.
  virtual HWND childParentWindow() = 0;
  // False when the child cannot take the focus now (for example while the
  // container itself is hidden).
  virtual bool childCanTakeFocus(ControlRecord&) { return true; }
};

// A listener of a window (controls, the extender of an ActiveX control). Every
// notification is optional; a boolean result "handled" or "taken" stops the
// engine's own processing of that input.
class WindowEventSink : public IUnknown {
 public:
  virtual void windowCreated(HWND) {}
  virtual void relayout() {}  // the form moved or sized its window
  virtual void focusGained() {}
  virtual void focusLost() {}
  virtual void focusEntered() {}  // windowless form or user control
  virtual void focusLeft() {}
  virtual void activated() {}
  virtual void deactivated() {}
  virtual void mouseDown(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void mouseUp(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void mouseMove(int button, int shift, double x, double y) {
    (void)button, (void)shift, (void)x, (void)y;
  }
  virtual void mouseWheel(int delta, bool horizontal) { (void)delta, (void)horizontal; }
  // Key messages of a windowless form; true takes the key.
  virtual bool key(UINT message, WPARAM, LPARAM) {
    (void)message;
    return false;
  }
  // A reflected WM_COMMAND notification; true marks it handled.
  virtual bool command(WORD notifyCode) {
    (void)notifyCode;
    return false;
  }
  virtual void scroll(int code, int horizontal) { (void)code, (void)horizontal; }
  // kind: 8 edit, 1 list box, 0 button, 6 static; *brush receives the answer.
  virtual void colour(HDC, int kind, LRESULT* brush) { (void)kind, (void)brush; }
  virtual void pressDefault() {}  // Enter pressed a windowless default button
  virtual void pressCancel() {}   // Escape
  // The form is closing; a non-zero *cancel stops it.
  virtual void unloading(SHORT* cancel) { (void)cancel; }
  // A message for one of the form's controls, before it is dispatched
  // (sinks in the form's pre-translate list).
  virtual void preTranslate(MSG*) {}
  // Every message after default processing (records that ask for all).
  virtual void message(UINT msg, WPARAM, LPARAM, LRESULT) { (void)msg; }
};

}  // namespace rt

template <>
struct InterfaceId<rt::EngineControl> {
  static constexpr const IID& value = rt::IID_EngineControl;
};
template <>
struct InterfaceId<rt::EngineContainer> {
  static constexpr const IID& value = rt::IID_EngineContainer;
};
template <>
struct InterfaceId<rt::WindowEventSink> {
  static constexpr const IID& value = rt::IID_WindowEventSink;
};
