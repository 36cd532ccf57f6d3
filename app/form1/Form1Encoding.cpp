// Packet encoding, checksum and log text: Crc8, SplitIntoPackets, Timestamp,
// UpdateCounts, UpdateChecksum and the log conventions.
#include <cstdint>

#include "app/form1/Form1.h"
#include "app/form1/internal/AnsiCodes.h"
#include "app/form1/internal/Values.h"
#include "app/protocol/Crc8.h"
#include "runtime/core/Kernel32.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/library/Conversions.h"
#include "runtime/library/NumberText.h"
#include "runtime/library/TextFunctions.h"

namespace skiffwire {

using namespace rt;
using internal::LongText;

// The log grows through the selection: the caret goes past the end (a
// start beyond the end stops there) and the line replaces the empty
// selection there. That gives the text and the one Change that writing the
// whole text back gives, at the cost of the line instead of the whole log
// (docs/application.md); settleLog then puts the caret where that write
// would have.
HRESULT Form1::appendLog(std::u16string_view line) {
  std::u16string text;
  text.reserve(line.size() + 2);
  text.append(line).append(u"\r\n");
  if (!logCaretAtEnd_) {
    HRESULT hr = c_.txtProcess->put_SelStart(kPastTheEnd);
    if (FAILED(hr)) return hr;
  }
  HRESULT hr = c_.txtProcess->put_SelText(Bstr(text).get());
  if (FAILED(hr)) return hr;
  logCaretAtEnd_ = true;
  return S_OK;
}

// The caret at the text's length, without reading the text: a start beyond
// the end stops at the end.
HRESULT Form1::scrollLog() {
  logCaretAtEnd_ = false;
  return c_.txtProcess->put_SelStart(kPastTheEnd);
}

HRESULT Form1::settleLog() {
  if (!logCaretAtEnd_) return S_OK;
  logCaretAtEnd_ = false;
  return c_.txtProcess->put_SelStart(0);
}

// One pass over the characters' ANSI codes (the codes Asc gives, "?" for a
// character the code page lacks).
BYTE Form1::Crc8(BSTR text) {
  static const ProcedureDescriptor kDescriptor = DescribeProcedure("Crc8", ReturnKind::Value, {});
  BYTE crc = 0;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex) -> Next {
    crc = internal::Crc8OfText(ViewOf(text));
    return Exit;
  });
  return crc;
}

// The remaining text is kept as the count of characters already taken, so
// each packet costs its own characters rather than a copy of the rest.
Variant Form1::SplitIntoPackets(BSTR text, LONG size) {
  enum Stmt : StatementIndex { kBounds, kCreate, kLoopTest, kTake, kRest, kNext, kDone };
  enum Sites : SiteIndex { kSiteDivide, kSiteCreate, kSiteLeft, kSitePlusOne };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "SplitIntoPackets", ReturnKind::Value,
      {Site::DivisionByZero(kBounds), Site::Fixed(kCreate, ErrorStatus(err::SubscriptOutOfRange)),
       Site::Call(kTake), Site::Overflow(kRest)});
  Variant packets;
  LONG upper = 0;
  LONG index = 0;
  const auto length = static_cast<LONG>(SysStringLen(text));
  LONG taken = 0;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kBounds:
        if (size == 0) frame.raise(kSiteDivide, S_OK);
        upper = (length - 1) / size;
        return Step;
      case kCreate: {
        if (upper < 0) frame.raise(kSiteCreate, S_OK);
        SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(upper) + 1);
        if (!array) frame.raise(kSiteCreate, E_OUTOFMEMORY);
        packets.vt = VT_ARRAY | VT_BSTR;
        packets.parray = array;
        return Step;
      }
      case kLoopTest:
        return taken >= length ? GoTo(kDone) : Step;
      case kTake: {
        // Left(remaining, size): fails the same way for a negative size.
        Bstr packet;
        frame.check(kSiteLeft, Mid(text, taken + 1, Variant::I4(size), packet.out()));
        void* element = nullptr;
        SafeArrayPtrOfIndex(packets.parray, &index, &element);
        SysFreeString(*static_cast<BSTR*>(element));
        *static_cast<BSTR*>(element) = packet.release();
        return Step;
      }
      case kRest:
        // The rest starts at character size + 1, a Long sum.
        if (size == INT32_MAX) frame.raise(kSitePlusOne, S_OK);
        taken = size >= length - taken ? length : taken + size;
        return Step;
      case kNext:
        ++index;
        return GoTo(kLoopTest);
      case kDone:
        return Exit;
    }
    return Exit;
  });
  return packets;
}

Bstr Form1::Timestamp() {
  enum Stmt : StatementIndex { kNow, kElapsed, kFormat };
  enum Sites : SiteIndex { kSiteTicksBinding, kSiteTicksStack, kSiteOverflow, kSiteFormat };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("Timestamp", ReturnKind::Value,
                        {DllBindingFailedSite(kNow), DllStackMismatchSite(kNow),
                         Site::Overflow(kElapsed), Site::Call(kFormat)});
  LONG now = 0;
  DOUBLE elapsed = 0;
  Bstr result;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kNow:
        now =
            static_cast<LONG>(kernel32::GetTickCount(frame, {kSiteTicksBinding, kSiteTicksStack}));
        return Step;
      case kElapsed: {
        // A Long subtraction: it overflows where the two ticks lie too far apart.
        const int64_t difference = static_cast<int64_t>(now) - StartTick;
        if (difference < INT32_MIN || difference > INT32_MAX) frame.raise(kSiteOverflow, S_OK);
        elapsed = static_cast<DOUBLE>(difference) / 1000.0;
        return Step;
      }
      case kFormat: {
        static const Variant kSecondsFormat = Variant::Str(u"#0.##0");
        Bstr seconds;
        frame.check(kSiteFormat, Format(Variant::R8(elapsed), kSecondsFormat, 1, 1, seconds.out()));
        std::u16string stamp;
        stamp.reserve(seconds.view().size() + 3);
        result = Bstr(stamp.append(seconds.view()).append(u" - "));
        return Exit;
      }
    }
    return Exit;
  });
  return result;
}

HRESULT Form1::UpdateCounts() {
  enum Stmt : StatementIndex { kIf, kLength, kTrap, kQuantity, kEndIf, kElseLength, kElseQuantity };
  enum Sites : SiteIndex {
    kSiteIf,
    kSiteLength,
    kSiteSizeText,
    kSiteSize,
    kSiteDivide,
    kSiteQuantity,
    kSiteElseLength,
    kSiteElseQuantity
  };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "UpdateCounts", ReturnKind::Status,
      {Site::ObjectCall(kIf), Site::ObjectCall(kLength), Site::ObjectCall(kQuantity),
       Site::Call(kQuantity), Site::DivisionByZero(kQuantity), Site::ObjectCall(kQuantity),
       Site::ObjectCall(kElseLength), Site::ObjectCall(kElseQuantity)});
  // The text is read once: nothing between the statements can change it, and
  // each read copies the whole payload.
  Bstr datagram;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kIf:
        frame.check(kSiteIf, c_.txtDatagram->get_Text(datagram.out()));
        return datagram.empty() ? GoTo(kElseLength) : Step;
      case kLength:
        frame.check(kSiteLength, c_.lblDatagramLength->put_Caption(
                                     Bstr(LongText(static_cast<LONG>(datagram.length()))).get()));
        return Step;
      case kTrap:
        frame.onErrorResumeNext();
        return Step;
      case kQuantity: {
        Bstr sizeText;
        frame.check(kSiteSizeText, c_.txtPacketLen->get_Text(sizeText.out()));
        LONG size = 0;
        frame.check(kSiteSize, ToLong(Variant::AdoptBstr(sizeText.release()), 0, &size));
        if (size == 0) frame.raise(kSiteDivide, S_OK);
        const LONG quantity = static_cast<LONG>(datagram.length()) / size + 1;
        frame.check(kSiteQuantity, c_.lblPacketQty->put_Caption(Bstr(LongText(quantity)).get()));
        return Step;
      }
      case kEndIf:
        return Exit;
      case kElseLength:
        frame.check(kSiteElseLength, c_.lblDatagramLength->put_Caption(Bstr(u"0").get()));
        return Step;
      case kElseQuantity:
        frame.check(kSiteElseQuantity, c_.lblPacketQty->put_Caption(Bstr(u"0").get()));
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::UpdateChecksum() {
  enum Stmt : StatementIndex { kCounts, kChecksum };
  enum Sites : SiteIndex { kSiteCounts, kSiteText, kSiteCrc, kSiteHex, kSiteRight, kSiteCaption };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "UpdateChecksum", ReturnKind::Status,
      {Site::ObjectCall(kCounts), Site::ObjectCall(kChecksum), Site::PendingNumber(kChecksum),
       Site::Call(kChecksum), Site::Call(kChecksum), Site::ObjectCall(kChecksum)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kCounts:
        frame.check(kSiteCounts, UpdateCounts());
        return Step;
      case kChecksum: {
        Bstr datagram;
        frame.check(kSiteText, c_.txtDatagram->get_Text(datagram.out()));
        const BYTE crc = Crc8(datagram.get());
        frame.checkPending(kSiteCrc);
        Bstr hex;
        frame.check(kSiteHex, HexText(internal::ByteVariant(crc), hex.out()));
        Variant twoDigits;
        frame.check(kSiteRight,
                    Right(Variant::Str(u"00" + std::u16string(hex.view())), 2, twoDigits.out()));
        frame.check(kSiteCaption, c_.lblChecksum->put_Caption(twoDigits.bstrVal));
        return Exit;
      }
    }
    return Exit;
  });
}

HRESULT Form1::txtPacketLen_Change() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("txtPacketLen_Change", ReturnKind::Status, {Site::ObjectCall(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    frame.check(0, UpdateCounts());
    return Exit;
  });
}

HRESULT Form1::cmdClearDatagram_Click() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("cmdClearDatagram_Click", ReturnKind::Status, {Site::ObjectCall(0)});
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex) -> Next {
    frame.check(0, c_.txtDatagram->put_Text(Bstr(u"").get()));
    return Exit;
  });
}

}  // namespace skiffwire
