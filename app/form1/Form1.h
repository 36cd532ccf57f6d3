// Form1, the application's one window: its event procedures and general
// procedures, written in the error model (every procedure runs in a
// ProcedureFrame and raises at the numbered sites of its descriptor).
//
// Form1 reaches its controls only through the member interfaces (app/members)
// and the socket control's interface, so the simulated controls, the
// intrinsic controls and the real socket control all serve it unchanged.
// Form1Form (the compiled form class) runs the handlers below as the events
// of its members occur.
#pragma once

#include <string_view>

#include "app/members/ICheckBox.h"
#include "app/members/ICommandButton.h"
#include "app/members/IForm.h"
#include "app/members/ILabel.h"
#include "app/members/IShape.h"
#include "app/members/ITextBox.h"
#include "app/members/ITimer.h"
#include "app/members/IYield.h"
#include "app/udp/IUdpSocket.h"

namespace skiffwire {

// The controls of the form design that the application's code touches.
struct Form1Controls {
  ComPtr<IForm> form;
  ComPtr<ITextBox> txtIpAddress, txtPort, txtClearString, txtTestString, txtWaitState, txtPacketLen,
      txtTimeOut, txtRetry, txtDatagram, txtProcess;
  ComPtr<ICommandButton> cmdConnect, cmdSaveSettings, cmdString, cmdClear, cmdClearDatagram,
      cmdSendDataGram;
  ComPtr<ILabel> lblChecksum, lblDatagramLength, lblPacketQty;
  ComPtr<ICheckBox> chkSTX, chkEOT, chkChecksum;
  ComPtr<IShape> shpConnected;
  ComPtr<ITimer> tmrTimeout;
  ComPtr<IUdpSocket> sckServer, sckClient;
  // The runtime's DoEvents.
  ComPtr<IYield> runtime;
};

class Form1 {
 public:
  explicit Form1(Form1Controls controls);
  ~Form1();
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // ---- Event procedures
  HRESULT Form_Load();
  HRESULT Form_Unload(SHORT* cancel);
  HRESULT cmdSaveSettings_Click();
  HRESULT cmdConnect_Click();
  HRESULT cmdSendDataGram_Click();
  HRESULT cmdClear_Click();
  HRESULT cmdString_Click();
  HRESULT cmdClearDatagram_Click();
  HRESULT sckServer_DataArrival(LONG bytesTotal);
  HRESULT tmrTimeout_Timer();
  HRESULT txtPacketLen_Change();
  // The change handler of txtDatagram.
  HRESULT UpdateChecksum();

  // ---- General procedures
  HRESULT LoadSettings();
  HRESULT OpenReceiver();
  HRESULT OpenSender();
  HRESULT ShowConnectionState();
  HRESULT EnableSendCommands();
  HRESULT DisableSendCommands();
  HRESULT SendSequence();
  // text is passed by reference and not changed.
  HRESULT SendDatagram(const Bstr& text);
  HRESULT UpdateCounts();

  // ---- Functions: they return their value and report failure through the
  // error object's pending number.
  VARIANT_BOOL IsValidIP(const Bstr& text);
  VARIANT_BOOL IsValidPort(const LONG& port);
  BYTE Crc8(BSTR text);
  // A VT_ARRAY | VT_BSTR variant with lower bound 0.
  Variant SplitIntoPackets(BSTR text, LONG size);
  Bstr Timestamp();

  // ---- Form variables
  LONG StartTick = 0;
  SHORT Attempt = 0;
  VARIANT_BOOL TimedOut = VARIANT_FALSE;

 private:
  // A caret position beyond any text: the text box puts the caret at the end.
  static constexpr LONG kPastTheEnd = 0x7FFFFFFF;

  // The log conventions: append a line (text + CR LF) to txtProcess, and
  // scroll it to its end by putting the caret there.
  HRESULT appendLog(std::u16string_view line);
  HRESULT scrollLog();
  // Writing the whole log, as the convention reads, leaves the caret at the
  // start; appending through the selection leaves it at the end. Between
  // appends of one handler nobody can look, so the caret stays at the end
  // (the next line goes in without moving it) and settleLog puts it at the
  // start before anybody can: when the handler returns (LogSettler) and
  // before messages are pumped.
  HRESULT settleLog();
  class LogSettler {
   public:
    explicit LogSettler(Form1& form) : form_(form) {}
    // The handler has ended: a failure here has no procedure left to go to.
    ~LogSettler() { form_.settleLog(); }
    LogSettler(const LogSettler&) = delete;
    LogSettler& operator=(const LogSettler&) = delete;

   private:
    Form1& form_;
  };

  Form1Controls c_;
  // The log's caret is at the end, where the last appended line left it.
  bool logCaretAtEnd_ = false;
};

}  // namespace skiffwire
