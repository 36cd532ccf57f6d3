#include "app/window/Form1Layout.h"

namespace skiffwire {

namespace {

using enum ControlClass;

// Container indices of the frames below.
constexpr int kConnection = 0;
constexpr int kStrings = 7;
constexpr int kOptions = 14;
constexpr int kDatagram = 29;
constexpr int kTotals = 31;
constexpr int kProcess = 40;
constexpr int kCommands = 43;

// Rows of the options frame: labels, boxes and units share their columns.
constexpr int kOptionLabelX = 12, kOptionLabelW = 110, kOptionBoxX = 126, kOptionBoxW = 60,
              kOptionUnitX = 192, kOptionUnitW = 60;
constexpr int kLabelH = 17, kBoxH = 21, kButtonW = 136, kButtonH = 27, kButtonGap = 10;

constexpr ControlLayout kLayout[] = {
    {u"fmeConnection", Frame, -1, 8, 8, 300, 84, u"Connection", nullptr},
    {u"lblTitle", Label, kConnection, 12, 24, 80, kLabelH, u"IP Address :", nullptr},
    {u"txtIpAddress", TextBox, kConnection, 96, 21, 120, kBoxH, u"127.0.0.1",
     u"IP address of the peer device"},
    {u"lblTitle", Label, kConnection, 12, 52, 80, kLabelH, u"Port :", nullptr},
    {u"txtPort", TextBox, kConnection, 96, 49, 60, kBoxH, u"8888", u"UDP port of the peer device"},
    {u"cmdConnect", CommandButton, kConnection, 196, 47, 92, 25, u"Connect",
     u"Connect/Disconnect the IP/Port as entered"},
    {u"shpConnected", Shape, kConnection, 233, 20, 20, 20, nullptr, nullptr},
    {u"fmeStrings", Frame, -1, 8, 98, 300, 84, u"Send Strings", nullptr},
    {u"lblTitle", Label, kStrings, 12, 24, 150, kLabelH, u"Longstring Clear String :", nullptr},
    {u"txtClearString", TextBox, kStrings, 166, 21, 122, kBoxH, u"clear",
     u"Text that clears the peer device's display"},
    {u"lblTitle", Label, kStrings, 12, 52, 150, kLabelH, u"Send Test String :", nullptr},
    {u"txtTestString", TextBox, kStrings, 166, 49, 122, kBoxH, u"Hello World!",
     u"String to send for UDP connection test"},
    {u"sckServer", Socket, -1, 0, 0, 0, 0, nullptr, nullptr},
    {u"sckClient", Socket, -1, 0, 0, 0, 0, nullptr, nullptr},
    {u"fmeDataGramOptions", Frame, -1, 8, 188, 300, 212, u"Transmit/Receive Options", nullptr},
    {u"lblTitle", Label, kOptions, kOptionLabelX, 24, kOptionLabelW, kLabelH, u"Tx Wait State",
     nullptr},
    {u"txtWaitState", TextBox, kOptions, kOptionBoxX, 21, kOptionBoxW, kBoxH, u"1",
     u"Delay in mS between Datagram transmission"},
    {u"lblTitle", Label, kOptions, kOptionUnitX, 24, kOptionUnitW, kLabelH, u"mS", nullptr},
    {u"lblTitle", Label, kOptions, kOptionLabelX, 52, kOptionLabelW, kLabelH, u"Tx Packet Length",
     nullptr},
    {u"txtPacketLen", TextBox, kOptions, kOptionBoxX, 49, kOptionBoxW, kBoxH, u"128",
     u"Max length of each datagram 'packet'"},
    {u"lblTitle", Label, kOptions, kOptionUnitX, 52, kOptionUnitW, kLabelH, u"bytes", nullptr},
    {u"chkSTX", CheckBox, kOptions, 12, 78, 280, 20, u"Send 'Start Of Text' (STX, [h02])",
     u"Prefix the Datagram packets with an 'STX' character for start of transmission flag"},
    {u"chkEOT", CheckBox, kOptions, 12, 100, 280, 20, u"Send 'End Of Transmission' (EOT, [h04])",
     u"Append the Datagram packets with an 'EOT' character for end of transmission flag"},
    {u"chkChecksum", CheckBox, kOptions, 12, 122, 280, 20, u"Send CRC-8 Checksum (Calculated)",
     u"Append the Datagram packets with a Checksum value for validation"},
    {u"lblTitle", Label, kOptions, kOptionLabelX, 152, kOptionLabelW, kLabelH, u"TimeOut", nullptr},
    {u"txtTimeOut", TextBox, kOptions, kOptionBoxX, 149, kOptionBoxW, kBoxH, u"5000",
     u"Timeout value to receive a valid ACK"},
    {u"lblTitle", Label, kOptions, kOptionUnitX, 152, kOptionUnitW, kLabelH, u"mS", nullptr},
    {u"lblTitle", Label, kOptions, kOptionLabelX, 180, kOptionLabelW, kLabelH, u"Retry Attempts",
     nullptr},
    {u"txtRetry", TextBox, kOptions, kOptionBoxX, 177, kOptionBoxW, kBoxH, u"3",
     u"Timeout value to receive a valid ACK"},
    {u"fmeDatagram", Frame, -1, 316, 8, 436, 150, u"Datagram Entry", nullptr},
    {u"txtDatagram", TextBox, kDatagram, 12, 22, 412, 60, u"", nullptr, TextLook::MultiLine},
    {u"Frame1", Frame, kDatagram, 12, 86, 412, 56, u"Blah, Blah, Blah...", nullptr},
    {u"lblTitle", Label, kTotals, 10, 18, 96, kLabelH, u"Checksum Value", nullptr},
    {u"lblChecksum", Label, kTotals, 108, 18, 24, kLabelH, u"00",
     u"CRC-8 checksum value for the entered text"},
    {u"lblTitle", Label, kTotals, 200, 18, 110, kLabelH, u"DataGram Length", nullptr},
    {u"lblDatagramLength", Label, kTotals, 312, 18, 50, kLabelH, u"0",
     u"Total characters of the entered datagram text"},
    {u"lblTitle", Label, kTotals, 364, 18, 40, kLabelH, u"bytes", nullptr},
    {u"lblTitle", Label, kTotals, 134, 18, 40, kLabelH, u"Hex", nullptr},
    {u"lblTitle", Label, kTotals, 10, 36, 96, kLabelH, u"Est. Packet Qty", nullptr},
    {u"lblPacketQty", Label, kTotals, 108, 36, 50, kLabelH, u"0",
     u"Estimated number of packets for entered datagram text"},
    {u"fmeProcess", Frame, -1, 316, 164, 436, 236, u"Process", nullptr},
    {u"txtProcess", TextBox, kProcess, 12, 22, 412, 202, u"", nullptr, TextLook::Log},
    {u"tmrTimeout", Timer, -1, 0, 0, 0, 0, nullptr, nullptr},
    {u"fmeCommands", Frame, -1, 8, 408, 744, 64, u"Commands", nullptr},
    {u"cmdSaveSettings", CommandButton, kCommands, 12, 24, kButtonW, kButtonH, u"Save Settings",
     u"Save all settings to file, including IP Address and port number"},
    {u"cmdString", CommandButton, kCommands, 12 + (kButtonW + kButtonGap), 24, kButtonW, kButtonH,
     u"Send Test String", u"Send the string"},
    {u"cmdClear", CommandButton, kCommands, 12 + 2 * (kButtonW + kButtonGap), 24, kButtonW,
     kButtonH, u"Send Clear String", u"Send the 'Clear' string"},
    {u"cmdClearDatagram", CommandButton, kCommands, 12 + 3 * (kButtonW + kButtonGap), 24, kButtonW,
     kButtonH, u"Clear Datagram Entry", u"Clear the datagram entry text box"},
    {u"cmdSendDataGram", CommandButton, kCommands, 12 + 4 * (kButtonW + kButtonGap), 24, kButtonW,
     kButtonH, u"Send Datagram", u"Send the entered datagram"},
};

}  // namespace

std::span<const ControlLayout> Form1Layout() {
  return kLayout;
}

}  // namespace skiffwire
