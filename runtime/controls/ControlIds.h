// Dispatch identifiers of the control members. The shared members of the
// base classes keep one identifier in every class, so a class's own member of
// the same name (the Timer's Enabled) takes the place of the inherited one.
#pragma once

#include "platform/types.h"

namespace rt::dispid {

// Identity and layout (the same numbers as the design-time placeholder).
inline constexpr DISPID Name = -800;
inline constexpr DISPID Left = -850;
inline constexpr DISPID Top = -851;
inline constexpr DISPID Width = -852;
inline constexpr DISPID Height = -853;
inline constexpr DISPID TabStop = -854;
inline constexpr DISPID Index = -855;
inline constexpr DISPID Container = -856;
inline constexpr DISPID Visible = -857;

// The standard properties of controls.
inline constexpr DISPID Default = 0;  // the default member (Text, Caption, Value)
inline constexpr DISPID BackColor = -501;
inline constexpr DISPID BorderStyle = -504;
inline constexpr DISPID FontMember = -512;
inline constexpr DISPID ForeColor = -513;
inline constexpr DISPID Enabled = -514;
inline constexpr DISPID Hwnd = -515;
inline constexpr DISPID TabIndex = -516;
inline constexpr DISPID Text = -517;
inline constexpr DISPID Caption = -518;
inline constexpr DISPID Refresh = -550;

// Base class members.
inline constexpr DISPID Tag = 0x100;
inline constexpr DISPID Parent = 0x101;
inline constexpr DISPID SetFocus = 0x102;
inline constexpr DISPID MousePointer = 0x103;
inline constexpr DISPID ToolTipText = 0x104;
inline constexpr DISPID FontName = 0x110;
inline constexpr DISPID FontSize = 0x111;
inline constexpr DISPID FontBold = 0x112;
inline constexpr DISPID FontItalic = 0x113;
inline constexpr DISPID FontUnderline = 0x114;
inline constexpr DISPID FontStrikethru = 0x115;
inline constexpr DISPID ButtonStyle = 0x120;
inline constexpr DISPID DataField = 0x130;
inline constexpr DISPID DataChanged = 0x131;
inline constexpr DISPID OLEDragMode = 0x140;
inline constexpr DISPID OLEDropMode = 0x141;
inline constexpr DISPID AutoRedraw = 0x150;
inline constexpr DISPID ClipControls = 0x151;
inline constexpr DISPID ScaleMode = 0x152;
inline constexpr DISPID Show = 0x160;
inline constexpr DISPID Hide = 0x161;
inline constexpr DISPID WindowState = 0x162;
inline constexpr DISPID ControlBox = 0x163;
inline constexpr DISPID MaxButton = 0x164;
inline constexpr DISPID MinButton = 0x165;
inline constexpr DISPID KeyPreview = 0x166;
inline constexpr DISPID StartUpPosition = 0x167;

// Members of the individual controls.
inline constexpr DISPID Value = 1;
inline constexpr DISPID Cancel = 2;
inline constexpr DISPID DefaultButton = 3;
inline constexpr DISPID MultiLine = 4;
inline constexpr DISPID HideSelection = 5;
inline constexpr DISPID ScrollBars = 6;
inline constexpr DISPID MaxLength = 7;
inline constexpr DISPID PasswordChar = 8;
inline constexpr DISPID Alignment = 9;
inline constexpr DISPID NumbersOnly = 10;
inline constexpr DISPID CueBanner = 11;
inline constexpr DISPID CueBannerWhenFocused = 12;
inline constexpr DISPID Opacity = 13;
inline constexpr DISPID TransparencyKey = 14;
inline constexpr DISPID SelStart = 15;
inline constexpr DISPID SelLength = 16;
inline constexpr DISPID SelText = 17;
inline constexpr DISPID Locked = 18;
inline constexpr DISPID BackStyle = 19;
inline constexpr DISPID Interval = 20;
inline constexpr DISPID BorderColor = 21;
inline constexpr DISPID BorderWidth = 22;
inline constexpr DISPID DrawMode = 23;
inline constexpr DISPID FillColor = 24;
inline constexpr DISPID FillColor2 = 25;
inline constexpr DISPID FillStyle = 26;
inline constexpr DISPID ShapeKind = 27;
inline constexpr DISPID Controls = 28;
inline constexpr DISPID Appearance = 29;
inline constexpr DISPID AutoSize = 30;
inline constexpr DISPID WordWrap = 31;

}  // namespace rt::dispid
