// The transfer protocol's sending side: starting a transmission, one attempt
// of sending, the sending of one datagram, and the two buttons that send a
// fixed text.
#include "app/form1/Form1.h"
#include "app/form1/internal/Values.h"
#include "app/protocol/Datagrams.h"
#include "runtime/core/Kernel32.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/core/Val.h"
#include "runtime/library/ArrayFunctions.h"
#include "runtime/library/NumberText.h"

namespace skiffwire {

using namespace rt;

namespace {

constexpr DWORD kMarkerPauseMs = 10;

std::u16string Widen(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

// Str of a 16-bit integer: " 5", "-5".
HRESULT StrOf(SHORT value, std::u16string* text) {
  Bstr out;
  HRESULT hr = Str(Variant::I2(value), out.out());
  if (SUCCEEDED(hr)) *text = out.view();
  return hr;
}

}  // namespace

HRESULT Form1::cmdSendDataGram_Click() {
  enum Stmt : StatementIndex { kAttempt, kStartTick, kLog, kTimedOut, kInterval, kSend };
  enum Sites : SiteIndex {
    kSiteTicksBinding,
    kSiteTicksStack,
    kSiteLog,
    kSiteTimeOutText,
    kSiteTimeOut,
    kSiteInterval,
    kSiteSend
  };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("cmdSendDataGram_Click", ReturnKind::Status,
                        {DllBindingFailedSite(kStartTick), DllStackMismatchSite(kStartTick),
                         Site::ObjectCall(kLog), Site::ObjectCall(kInterval), Site::Call(kInterval),
                         Site::ObjectCall(kInterval), Site::ObjectCall(kSend)});
  LogSettler settler(*this);
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kAttempt:
        Attempt = 0;
        return Step;
      case kStartTick:
        StartTick =
            static_cast<LONG>(kernel32::GetTickCount(frame, {kSiteTicksBinding, kSiteTicksStack}));
        return Step;
      case kLog:
        logCaretAtEnd_ = false;  // a new text puts the caret at the start
        frame.check(kSiteLog,
                    c_.txtProcess->put_Text(Bstr(u"---- Start transmission ----\r\n").get()));
        return Step;
      case kTimedOut:
        TimedOut = VARIANT_FALSE;
        return Step;
      case kInterval: {
        Bstr timeOut;
        frame.check(kSiteTimeOutText, c_.txtTimeOut->get_Text(timeOut.out()));
        LONG interval = 0;
        frame.check(kSiteTimeOut, internal::RoundedVal(timeOut.get(), &interval));
        frame.check(kSiteInterval, c_.tmrTimeout->put_Interval(interval));
        return Step;
      }
      case kSend:
        frame.check(kSiteSend, SendSequence());
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::SendSequence() {
  enum Stmt : StatementIndex {
    kCount,
    kLogDisabled,
    kLogAttempt,
    kLimit,
    kLogLimit,
    kStopTimer,
    kLimitExit,
    kSplit,
    kLast,
    kStartMarker,
    kLoopStart,
    kLoopTest,
    kLogPacket,
    kSendPacket,
    kLoopNext,
    kChecksum,
    kEndMarker,
    kArm,
    kLogEnabled,
    kScroll
  };
  enum Sites : SiteIndex {
    kSiteCount,
    kSiteLogDisabled,
    kSiteAttemptText,
    kSiteLogAttempt,
    kSiteRetryText,
    kSiteRetry,
    kSiteLogLimit,
    kSiteStopTimer,
    kSiteDatagramText,
    kSiteSizeText,
    kSiteSize,
    kSiteSplit,
    kSiteUpper,
    kSiteLastOverflow,
    kSiteStartValue,
    kSiteStartStamp,
    kSiteStartLog,
    kSiteStartSend,
    kSiteStartPause,
    kSiteStartPauseStack,
    kSitePacketOverflow,
    kSitePacketStamp,
    kSitePacketNumbers,
    kSitePacketLog,
    kSitePacketSend,
    kSiteChecksumValue,
    kSiteChecksumStamp,
    kSiteChecksumLog,
    kSiteChecksumCaptions,
    kSiteChecksumSend,
    kSiteChecksumPause,
    kSiteChecksumPauseStack,
    kSiteEndValue,
    kSiteEndStamp,
    kSiteEndLog,
    kSiteEndSend,
    kSiteEndPause,
    kSiteEndPauseStack,
    kSiteArm,
    kSiteLogEnabled,
    kSiteScroll
  };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("SendSequence", ReturnKind::Status,
                        {Site::Overflow(kCount),
                         Site::ObjectCall(kLogDisabled),
                         Site::Call(kLogAttempt),
                         Site::ObjectCall(kLogAttempt),
                         Site::ObjectCall(kLimit),
                         Site::Call(kLimit),
                         Site::ObjectCall(kLogLimit),
                         Site::ObjectCall(kStopTimer),
                         Site::ObjectCall(kSplit),
                         Site::ObjectCall(kSplit),
                         Site::Call(kSplit),
                         Site::PendingNumber(kSplit),
                         Site::Call(kLast),
                         Site::Overflow(kLast),
                         Site::ObjectCall(kStartMarker),
                         Site::PendingNumber(kStartMarker),
                         Site::ObjectCall(kStartMarker),
                         Site::ObjectCall(kStartMarker),
                         DllBindingFailedSite(kStartMarker),
                         DllStackMismatchSite(kStartMarker),
                         Site::Overflow(kLogPacket),
                         Site::PendingNumber(kLogPacket),
                         Site::Call(kLogPacket),
                         Site::ObjectCall(kLogPacket),
                         Site::ObjectCall(kSendPacket),
                         Site::ObjectCall(kChecksum),
                         Site::PendingNumber(kChecksum),
                         Site::ObjectCall(kChecksum),
                         Site::ObjectCall(kChecksum),
                         Site::ObjectCall(kChecksum),
                         DllBindingFailedSite(kChecksum),
                         DllStackMismatchSite(kChecksum),
                         Site::ObjectCall(kEndMarker),
                         Site::PendingNumber(kEndMarker),
                         Site::ObjectCall(kEndMarker),
                         Site::ObjectCall(kEndMarker),
                         DllBindingFailedSite(kEndMarker),
                         DllStackMismatchSite(kEndMarker),
                         Site::ObjectCall(kArm),
                         Site::ObjectCall(kLogEnabled),
                         Site::ObjectCall(kScroll)});

  Variant packets;
  SHORT last = 0;
  SHORT i = 0;

  ProcedureFrame frame(kDescriptor);
  // One optional datagram of the sequence: a log line, the datagram, the pause.
  auto sendMarker = [&](ICheckBox* option, std::u16string_view logText, const Bstr& datagram,
                        SiteIndex siteValue) -> Next {
    SHORT value = 0;
    frame.check(siteValue, option->get_Value(&value));
    if (value != 1) return Step;
    Bstr stamp = Timestamp();
    frame.checkPending(siteValue + 1);
    frame.check(siteValue + 2, appendLog(std::u16string(stamp.view()) + std::u16string(logText)));
    frame.check(siteValue + 3, SendDatagram(datagram));
    kernel32::Sleep(frame,
                    {static_cast<SiteIndex>(siteValue + 4), static_cast<SiteIndex>(siteValue + 5)},
                    kMarkerPauseMs);
    return Step;
  };

  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kCount:
        if (Attempt == INT16_MAX) frame.raise(kSiteCount, S_OK);
        ++Attempt;
        return Step;
      case kLogDisabled:
        frame.check(kSiteLogDisabled, appendLog(u"---- Timeout timer disabled ----"));
        return Step;
      case kLogAttempt: {
        std::u16string number;
        frame.check(kSiteAttemptText, StrOf(Attempt, &number));
        frame.check(kSiteLogAttempt, appendLog(u"---- Transmission attempt" + number + u" ----"));
        return Step;
      }
      case kLimit: {
        Bstr retry;
        frame.check(kSiteRetryText, c_.txtRetry->get_Text(retry.out()));
        DOUBLE limit = 0;
        frame.check(kSiteRetry, ValOfText(retry.get(), &limit));
        return limit < Attempt ? Step : GoTo(kSplit);
      }
      case kLogLimit:
        frame.check(kSiteLogLimit, appendLog(u"---- Maximum retry limit reached ----"));
        return Step;
      case kStopTimer:
        frame.check(kSiteStopTimer, c_.tmrTimeout->put_Enabled(VARIANT_FALSE));
        return Step;
      case kLimitExit:
        return Exit;
      case kSplit: {
        Bstr datagram;
        frame.check(kSiteDatagramText, c_.txtDatagram->get_Text(datagram.out()));
        Bstr sizeText;
        frame.check(kSiteSizeText, c_.txtPacketLen->get_Text(sizeText.out()));
        LONG size = 0;
        frame.check(kSiteSize, internal::RoundedVal(sizeText.get(), &size));
        packets = SplitIntoPackets(datagram.get(), size);
        frame.checkPending(kSiteSplit);
        return Step;
      }
      case kLast: {
        LONG upper = 0;
        frame.check(kSiteUpper, UBound(packets, 1, &upper));
        if (upper > INT16_MAX || upper < INT16_MIN) frame.raise(kSiteLastOverflow, S_OK);
        last = static_cast<SHORT>(upper);
        return Step;
      }
      case kStartMarker:
        return sendMarker(c_.chkSTX.Get(), u"STX Sent", Bstr(Widen(protocol::kStartMarker)),
                          kSiteStartValue);
      case kLoopStart:
        i = 0;
        return Step;
      case kLoopTest:
        return i <= last ? Step : GoTo(kChecksum);
      case kLogPacket: {
        if (i == INT16_MAX || last == INT16_MAX) frame.raise(kSitePacketOverflow, S_OK);
        Bstr stamp = Timestamp();
        frame.checkPending(kSitePacketStamp);
        std::u16string number, count;
        frame.check(kSitePacketNumbers, StrOf(static_cast<SHORT>(i + 1), &number));
        frame.check(kSitePacketNumbers, StrOf(static_cast<SHORT>(last + 1), &count));
        std::u16string line;
        line.reserve(stamp.view().size() + number.size() + count.size() + 20);
        line.append(stamp.view()).append(u"Sending packet ").append(number).append(u" of ");
        frame.check(kSitePacketLog, appendLog(line.append(count)));
        return Step;
      }
      case kSendPacket: {
        void* element = nullptr;
        LONG index = i;
        SafeArrayPtrOfIndex(packets.parray, &index, &element);
        const Bstr packet(ViewOf(*static_cast<BSTR*>(element)));
        frame.check(kSitePacketSend, SendDatagram(packet));
        return Step;
      }
      case kLoopNext:
        if (i == INT16_MAX) return Step;  // the loop ends at the type's last value
        ++i;
        return GoTo(kLoopTest);
      case kChecksum: {
        SHORT value = 0;
        frame.check(kSiteChecksumValue, c_.chkChecksum->get_Value(&value));
        if (value != 1) return Step;
        Bstr stamp = Timestamp();
        frame.checkPending(kSiteChecksumStamp);
        frame.check(kSiteChecksumLog, appendLog(std::u16string(stamp.view()) + u"CRC Sent"));
        Bstr checksum, length;
        frame.check(kSiteChecksumCaptions, c_.lblChecksum->get_Caption(checksum.out()));
        frame.check(kSiteChecksumCaptions, c_.lblDatagramLength->get_Caption(length.out()));
        const Bstr datagram(Widen(protocol::kChecksumPrefix) + std::u16string(checksum.view()) +
                            std::u16string(length.view()));
        frame.check(kSiteChecksumSend, SendDatagram(datagram));
        kernel32::Sleep(frame, {kSiteChecksumPause, kSiteChecksumPauseStack}, kMarkerPauseMs);
        return Step;
      }
      case kEndMarker:
        return sendMarker(c_.chkEOT.Get(), u"EOT Sent", Bstr(Widen(protocol::kEndMarker)),
                          kSiteEndValue);
      case kArm:
        frame.check(kSiteArm, c_.tmrTimeout->put_Enabled(VARIANT_TRUE));
        return Step;
      case kLogEnabled:
        frame.check(kSiteLogEnabled, appendLog(u"---- Timeout timer enabled ----"));
        return Step;
      case kScroll:
        frame.check(kSiteScroll, scrollLog());
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::SendDatagram(const Bstr& text) {
  enum Stmt : StatementIndex { kTimedOut, kTrap, kSend, kPause, kDone };
  enum Sites : SiteIndex { kSiteSend, kSiteWaitText, kSiteWait, kSiteSleep, kSiteSleepStack };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "SendDatagram", ReturnKind::Status,
      {Site::InterfaceCall(kSend, 1, &IID_IUdpSocket), Site::ObjectCall(kPause), Site::Call(kPause),
       DllBindingFailedSite(kPause), DllStackMismatchSite(kPause)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kTimedOut:
        return TimedOut ? Exit : Step;
      case kTrap:
        frame.onErrorResumeNext();
        return Step;
      case kSend: {
        Variant data = Variant::Str(text.view());
        frame.keepObject(1, c_.sckClient.Get());
        frame.check(kSiteSend, c_.sckClient->SendData(data));
        return Step;
      }
      case kPause: {
        Bstr waitState;
        frame.check(kSiteWaitText, c_.txtWaitState->get_Text(waitState.out()));
        LONG wait = 0;
        frame.check(kSiteWait, internal::RoundedVal(waitState.get(), &wait));
        // Sleep takes its count unsigned: a negative wait state would block the
        // user-interface thread without end, so it pauses 0 ms instead.
        kernel32::Sleep(frame, {kSiteSleep, kSiteSleepStack},
                        wait < 0 ? 0 : static_cast<DWORD>(wait));
        return Step;
      }
      case kDone:
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::cmdClear_Click() {
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "cmdClear_Click", ReturnKind::Status, {Site::ObjectCall(0), Site::ObjectCall(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    Bstr text;
    frame.check(0, c_.txtClearString->get_Text(text.out()));
    frame.check(1, SendDatagram(text));
    return Exit;
  });
}

HRESULT Form1::cmdString_Click() {
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "cmdString_Click", ReturnKind::Status, {Site::ObjectCall(0), Site::ObjectCall(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    Bstr text;
    frame.check(0, c_.txtTestString->get_Text(text.out()));
    frame.check(1, SendDatagram(text));
    return Exit;
  });
}

}  // namespace skiffwire
