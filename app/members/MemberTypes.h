// What the member interfaces of the form's controls share: the COM basics and
// the event numbers common to every control.
//
// The member interfaces are the part of each control's primary interface that
// the application uses. The simulated controls implement them now; the
// intrinsic controls implement the very same interfaces, so Form1 does not
// change when they take over. Events reach the form through the control's
// event interface (a dispatch interface, advised through the control's
// IConnectionPointContainer) with the event numbers below.
#pragma once

#include <string_view>

#include "platform/com.h"
#include "platform/oleauto.h"

namespace skiffwire {

// The text of a borrowed BSTR (an in-parameter: the caller keeps it).
inline std::u16string_view ViewOf(BSTR text) {
  return {text ? text : u"", SysStringLen(text)};
}

// The click event number shared by every control.
inline constexpr DISPID kClickEvent = static_cast<DISPID>(0xEAEA0004);
// The change event of text boxes and labels.
inline constexpr DISPID kChangeEvent = 1;
// The timer event.
inline constexpr DISPID kTimerEvent = 1;
// The form's load event and its unload event (argument: Cancel, a 16-bit
// integer by reference).
inline constexpr DISPID kFormLoadEvent = 2;
inline constexpr DISPID kFormUnloadEvent = 0x13;

// Event interface identifiers of the controls.
inline constexpr IID DIID_FormEvents{
    0x75F81695, 0x188C, 0x4C8F, {0xA4, 0x2F, 0x1D, 0x68, 0xF0, 0x0F, 0xC2, 0x2B}};
inline constexpr IID DIID_LabelEvents{
    0x39E14368, 0xCED6, 0x4325, {0x9F, 0x4C, 0x31, 0xEB, 0xF7, 0xF5, 0xA6, 0x0C}};
inline constexpr IID DIID_TextBoxEvents{
    0x85CD9B0A, 0x0A91, 0x449C, {0x81, 0x40, 0x56, 0x1E, 0x6F, 0xB6, 0x99, 0x80}};
inline constexpr IID DIID_CommandButtonEvents{
    0x7CCBA2A3, 0x153A, 0x4474, {0xA9, 0x93, 0x30, 0x96, 0xB2, 0x02, 0xA2, 0x55}};
inline constexpr IID DIID_CheckBoxEvents{
    0xC7FC57F2, 0x9F2D, 0x49A9, {0x80, 0x46, 0xB0, 0x42, 0xF8, 0x36, 0x9A, 0x86}};
inline constexpr IID DIID_ShapeEvents{
    0x51C91BD8, 0x08CC, 0x40D2, {0x9B, 0xBE, 0x96, 0xCF, 0xC1, 0xBA, 0x9A, 0xF6}};
inline constexpr IID DIID_TimerEvents{
    0xBF96E761, 0x4F3D, 0x4950, {0xB7, 0xA5, 0x5A, 0x7C, 0x3A, 0xE8, 0x31, 0x88}};

}  // namespace skiffwire
