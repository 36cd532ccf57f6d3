// The transfer protocol's reply handling: the socket's data-arrival handler
// and the reply timer's handler.
#include "app/form1/Form1.h"
#include "app/protocol/Datagrams.h"
#include "runtime/core/ProcedureFrame.h"

namespace skiffwire {

using namespace rt;

namespace {

constexpr ULONG kReplyComparison = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
// VarBstrCmp under locale 0 compares bytes and ignores the flags above; the
// reply is classified linguistically, the same in every user locale.
constexpr LCID kReplyLocale = LOCALE_INVARIANT;

// Compares a reply with "ACK" or "NAK" as the protocol does: the whole text,
// ignoring case, kana type and width.
HRESULT ReplyIs(BSTR reply, std::string_view expected, bool* equal) {
  const Bstr text(std::u16string(expected.begin(), expected.end()));
  const HRESULT result = VarBstrCmp(reply, text.get(), kReplyLocale, kReplyComparison);
  if (FAILED(result)) return result;
  *equal = result == VARCMP_EQ;
  return S_OK;
}

}  // namespace

HRESULT Form1::sckServer_DataArrival(LONG /*bytesTotal*/) {
  enum Stmt : StatementIndex {
    kTimedOut,
    kTimedOutScroll,
    kRead,
    kStopTimer,
    kLogReceived,
    kIsAck,
    kAckStopTimer,
    kAckLogDisabled,
    kAckLogEnd,
    kIsNak,
    kNakSend,
    kOther,
    kScroll
  };
  enum Sites : SiteIndex {
    kSiteTimedOutScroll,
    kSiteRead,
    kSiteStopTimer,
    kSiteStamp,
    kSiteLogReceived,
    kSiteIsAck,
    kSiteAckStopTimer,
    kSiteAckLogDisabled,
    kSiteAckLogEnd,
    kSiteIsNak,
    kSiteNakSend,
    kSiteOther,
    kSiteScroll
  };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "sckServer_DataArrival", ReturnKind::Status,
      {Site::ObjectCall(kTimedOutScroll), Site::InterfaceCall(kRead, 1, &IID_IUdpSocket),
       Site::ObjectCall(kStopTimer), Site::PendingNumber(kLogReceived),
       Site::ObjectCall(kLogReceived), Site::Call(kIsAck), Site::ObjectCall(kAckStopTimer),
       Site::ObjectCall(kAckLogDisabled), Site::ObjectCall(kAckLogEnd), Site::Call(kIsNak),
       Site::ObjectCall(kNakSend), Site::ObjectCall(kOther), Site::ObjectCall(kScroll)});
  LogSettler settler(*this);
  Bstr reply;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kTimedOut:
        return TimedOut ? Step : GoTo(kRead);
      case kTimedOutScroll:
        // The datagram stays pending in the socket until a later read.
        frame.check(kSiteTimedOutScroll, scrollLog());
        return Exit;
      case kRead: {
        VARIANT target;
        VariantInit(&target);
        target.vt = VT_BSTR | VT_BYREF;
        target.pbstrVal = reply.out();
        frame.keepObject(1, c_.sckServer.Get());
        frame.check(kSiteRead,
                    c_.sckServer->GetData(&target, Variant::Missing(), Variant::Missing()));
        return Step;
      }
      case kStopTimer:
        frame.check(kSiteStopTimer, c_.tmrTimeout->put_Enabled(VARIANT_FALSE));
        return Step;
      case kLogReceived: {
        Bstr stamp = Timestamp();
        frame.checkPending(kSiteStamp);
        frame.check(kSiteLogReceived, appendLog(std::u16string(stamp.view()) +
                                                std::u16string(reply.view()) + u" Received"));
        return Step;
      }
      case kIsAck: {
        bool ack = false;
        frame.check(kSiteIsAck, ReplyIs(reply.get(), protocol::kAck, &ack));
        return ack ? Step : GoTo(kIsNak);
      }
      case kAckStopTimer:
        frame.check(kSiteAckStopTimer, c_.tmrTimeout->put_Enabled(VARIANT_FALSE));
        return Step;
      case kAckLogDisabled:
        frame.check(kSiteAckLogDisabled, appendLog(u"---- Timeout timer disabled ----"));
        return Step;
      case kAckLogEnd:
        frame.check(kSiteAckLogEnd, appendLog(u"---- End Transmission ----"));
        return GoTo(kScroll);
      case kIsNak: {
        bool nak = false;
        frame.check(kSiteIsNak, ReplyIs(reply.get(), protocol::kNak, &nak));
        return nak ? Step : GoTo(kOther);
      }
      case kNakSend:
        frame.check(kSiteNakSend, SendSequence());
        return GoTo(kScroll);
      case kOther: {
        SHORT loadedForms = 0;  // discarded
        // The pumped messages may paint or read the log.
        frame.check(kSiteOther, settleLog());
        frame.check(kSiteOther, c_.runtime->DoEvents(&loadedForms));
        return Step;
      }
      case kScroll:
        frame.check(kSiteScroll, scrollLog());
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::tmrTimeout_Timer() {
  enum Stmt : StatementIndex { kStopTimer, kTimedOut, kLog };
  enum Sites : SiteIndex { kSiteStopTimer, kSiteLog };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("tmrTimeout_Timer", ReturnKind::Status,
                        {Site::ObjectCall(kStopTimer), Site::ObjectCall(kLog)});
  LogSettler settler(*this);
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kStopTimer:
        frame.check(kSiteStopTimer, c_.tmrTimeout->put_Enabled(VARIANT_FALSE));
        return Step;
      case kTimedOut:
        TimedOut = VARIANT_TRUE;
        return Step;
      case kLog:
        frame.check(kSiteLog, appendLog(u"---- Tx/Rx timeout error ----"));
        return Exit;
    }
    return Exit;
  });
}

}  // namespace skiffwire
