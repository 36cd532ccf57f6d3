// Connection set-up: validating the address and port, binding the receiving
// socket, aiming the sending socket, and showing the connection state.
#include "app/form1/Form1.h"
#include "app/form1/internal/MessageBox.h"
#include "runtime/core/ProcedureFrame.h"
#include "runtime/library/ArrayFunctions.h"
#include "runtime/library/Comparison.h"
#include "runtime/library/Split.h"

namespace skiffwire {

using namespace rt;

namespace {

// The port number is read strictly: the whole text must be a whole number.
constexpr LCID kPortLocale = 0x0C09;
constexpr DWORD kConnected = 0x00FF00;
constexpr DWORD kDisconnected = 0x0000FF;
constexpr ULONG kCaptionComparison = NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
// Locale 0 would compare bytes and ignore the flags; the caption is compared
// linguistically, the same in every user locale.
constexpr LCID kCaptionLocale = LOCALE_INVARIANT;

HRESULT PortOf(ITextBox* box, LONG* port) {
  Bstr text;
  HRESULT hr = box->get_Text(text.out());
  if (FAILED(hr)) return hr;
  return VarI4FromStr(text.get() ? text.get() : u"", kPortLocale, 0, port);
}

HRESULT CaptionIs(ICommandButton* button, std::u16string_view expected, bool* equal) {
  Bstr caption;
  HRESULT hr = button->get_Caption(caption.out());
  if (FAILED(hr)) return hr;
  const HRESULT result =
      VarBstrCmp(caption.get(), Bstr(expected).get(), kCaptionLocale, kCaptionComparison);
  if (FAILED(result)) return result;
  *equal = result == VARCMP_EQ;
  return S_OK;
}

// part <op> number, as the language compares a text with a numeric literal:
// the literal is a typed operand (VT_RESERVED), so the text is read as a
// number, and one that is not a number is greater.
HRESULT PartCompares(BSTR part, SHORT number, HRESULT outcome, bool* holds) {
  Variant literal = Variant::I2(number);
  literal.vt |= VT_RESERVED;
  Variant result;
  HRESULT hr = Compare(Variant::Str(ViewOf(part)), literal, 0, AcceptedOutcomes(outcome, outcome),
                       result.out());
  if (FAILED(hr)) return hr;
  *holds = result.vt == VT_BOOL && result.boolVal != VARIANT_FALSE;
  return S_OK;
}

}  // namespace

HRESULT Form1::cmdConnect_Click() {
  enum Stmt : StatementIndex {
    kValidIP,
    kIPMessage,
    kPort,
    kValidPort,
    kPortMessage,
    kIsConnect,
    kOpenReceiver,
    kOpenSender,
    kIsDisconnect,
    kCloseServer,
    kCloseClient,
    kShow
  };
  enum Sites : SiteIndex {
    kSiteIPText,
    kSiteValidIP,
    kSiteIPMessage,
    kSitePort,
    kSiteValidPort,
    kSitePortMessage,
    kSiteIsConnect,
    kSiteOpenReceiver,
    kSiteOpenSender,
    kSiteIsDisconnect,
    kSiteCloseServer,
    kSiteCloseClient,
    kSiteShow
  };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "cmdConnect_Click", ReturnKind::Status,
      {Site::ObjectCall(kValidIP), Site::PendingNumber(kValidIP), Site::Call(kIPMessage),
       Site::Call(kPort), Site::PendingNumber(kValidPort), Site::Call(kPortMessage),
       Site::ObjectCall(kIsConnect), Site::ObjectCall(kOpenReceiver), Site::ObjectCall(kOpenSender),
       Site::ObjectCall(kIsDisconnect), Site::InterfaceCall(kCloseServer, 1, &IID_IUdpSocket),
       Site::InterfaceCall(kCloseClient, 1, &IID_IUdpSocket), Site::ObjectCall(kShow)});
  LONG port = 0;
  ProcedureFrame frame(kDescriptor);
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kValidIP: {
        Bstr address;
        frame.check(kSiteIPText, c_.txtIpAddress->get_Text(address.out()));
        const VARIANT_BOOL valid = IsValidIP(address);
        frame.checkPending(kSiteValidIP);
        return valid ? GoTo(kPort) : Step;
      }
      case kIPMessage:
        frame.check(kSiteIPMessage,
                    internal::ShowMessage(u"Not a Valid IP Address", u"IP Address Error"));
        return Exit;
      case kPort:
        frame.check(kSitePort, PortOf(c_.txtPort.Get(), &port));
        return Step;
      case kValidPort: {
        const VARIANT_BOOL valid = IsValidPort(port);
        frame.checkPending(kSiteValidPort);
        return valid ? GoTo(kIsConnect) : Step;
      }
      case kPortMessage:
        frame.check(kSitePortMessage,
                    internal::ShowMessage(u"Not a Valid Port Number", u"Port Error"));
        return Exit;
      case kIsConnect: {
        bool connect = false;
        frame.check(kSiteIsConnect, CaptionIs(c_.cmdConnect.Get(), u"Connect", &connect));
        return connect ? Step : GoTo(kIsDisconnect);
      }
      case kOpenReceiver:
        frame.check(kSiteOpenReceiver, OpenReceiver());
        return Step;
      case kOpenSender:
        frame.check(kSiteOpenSender, OpenSender());
        return GoTo(kShow);
      case kIsDisconnect: {
        bool disconnect = false;
        frame.check(kSiteIsDisconnect, CaptionIs(c_.cmdConnect.Get(), u"Disconnect", &disconnect));
        return disconnect ? Step : GoTo(kShow);
      }
      case kCloseServer:
        frame.keepObject(1, c_.sckServer.Get());
        frame.check(kSiteCloseServer, c_.sckServer->Close());
        return Step;
      case kCloseClient:
        frame.keepObject(1, c_.sckClient.Get());
        frame.check(kSiteCloseClient, c_.sckClient->Close());
        return Step;
      case kShow:
        frame.check(kSiteShow, ShowConnectionState());
        return Exit;
    }
    return Exit;
  });
}

VARIANT_BOOL Form1::IsValidIP(const Bstr& text) {
  enum Stmt : StatementIndex {
    kSplit,
    kCount,
    kLoopStart,
    kLoopTest,
    kAbove,
    kEmpty,
    kBelow,
    kLoopNext,
    kValid,
    kInvalid
  };
  enum Sites : SiteIndex { kSiteSplit, kSiteCount, kSiteAbove, kSiteBelow };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "IsValidIP", ReturnKind::Value,
      {Site::Call(kSplit), Site::Call(kCount), Site::Call(kAbove), Site::Call(kBelow)});
  VARIANT_BOOL result = VARIANT_FALSE;
  Variant parts;
  LONG upper = 0;
  LONG i = 0;
  BSTR part = nullptr;  // borrowed from the array
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kSplit:
        frame.check(kSiteSplit,
                    Split(text.get(), Variant::Str(u"."), -1, kBinaryCompare, parts.out()));
        return Step;
      case kCount:
        frame.check(kSiteCount, UBound(parts, 1, &upper));
        return upper == 3 ? Step : GoTo(kInvalid);
      case kLoopStart:
        i = 0;
        return Step;
      case kLoopTest: {
        if (i > upper) return GoTo(kValid);
        void* element = nullptr;
        SafeArrayPtrOfIndex(parts.parray, &i, &element);
        part = *static_cast<BSTR*>(element);
        return Step;
      }
      case kAbove: {
        bool above = false;
        frame.check(kSiteAbove, PartCompares(part, 255, VARCMP_GT, &above));
        return above ? GoTo(kInvalid) : Step;
      }
      case kEmpty:
        return SysStringLen(part) == 0 ? GoTo(kInvalid) : Step;
      case kBelow: {
        bool below = false;
        frame.check(kSiteBelow, PartCompares(part, 0, VARCMP_LT, &below));
        return below ? GoTo(kInvalid) : Step;
      }
      case kLoopNext:
        ++i;
        return GoTo(kLoopTest);
      case kValid:
        result = VARIANT_TRUE;
        return Exit;
      case kInvalid:
        result = VARIANT_FALSE;
        return Exit;
    }
    return Exit;
  });
  return result;
}

VARIANT_BOOL Form1::IsValidPort(const LONG& port) {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("IsValidPort", ReturnKind::Value, {});
  VARIANT_BOOL result = VARIANT_FALSE;
  ProcedureFrame frame(kDescriptor);
  frame.run([&](StatementIndex) -> Next {
    result = port < 0 || port > 65535 ? VARIANT_FALSE : VARIANT_TRUE;
    return Exit;
  });
  return result;
}

HRESULT Form1::OpenReceiver() {
  enum Stmt : StatementIndex { kClose, kProtocol, kLocalPort, kTrap, kBind, kHandler };
  enum Sites : SiteIndex {
    kSiteClose,
    kSiteProtocol,
    kSitePort,
    kSiteLocalPort,
    kSiteBind,
    kSiteMessage
  };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("OpenReceiver", ReturnKind::Status,
                        {Site::InterfaceCall(kClose, 1, &IID_IUdpSocket),
                         Site::InterfaceCall(kProtocol, 1, &IID_IUdpSocket), Site::Call(kLocalPort),
                         Site::InterfaceCall(kLocalPort, 1, &IID_IUdpSocket),
                         Site::InterfaceCall(kBind, 1, &IID_IUdpSocket), Site::Call(kHandler)});
  ProcedureFrame frame(kDescriptor);
  frame.keepObject(1, c_.sckServer.Get());
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kClose:
        frame.check(kSiteClose, c_.sckServer->Close());
        return Step;
      case kProtocol:
        frame.check(kSiteProtocol, c_.sckServer->put_Protocol(kUdpProtocol));
        return Step;
      case kLocalPort: {
        LONG port = 0;
        frame.check(kSitePort, PortOf(c_.txtPort.Get(), &port));
        frame.check(kSiteLocalPort, c_.sckServer->put_LocalPort(port));
        return Step;
      }
      case kTrap:
        frame.onErrorGoTo(kHandler);
        return Step;
      case kBind:
        frame.check(kSiteBind, c_.sckServer->Bind(Variant::Missing(), Variant::Missing()));
        return Exit;
      case kHandler:
        frame.check(kSiteMessage,
                    internal::ShowMessage(u"An undetermined error has occured on that address/port",
                                          u"Connection Error"));
        return Exit;
    }
    return Exit;
  });
}

HRESULT Form1::OpenSender() {
  enum Stmt : StatementIndex { kClose, kProtocol, kRemoteHost, kRemotePort };
  enum Sites : SiteIndex {
    kSiteClose,
    kSiteProtocol,
    kSiteHostText,
    kSiteHost,
    kSitePort,
    kSiteRemotePort
  };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "OpenSender", ReturnKind::Status,
      {Site::InterfaceCall(kClose, 1, &IID_IUdpSocket),
       Site::InterfaceCall(kProtocol, 1, &IID_IUdpSocket), Site::ObjectCall(kRemoteHost),
       Site::InterfaceCall(kRemoteHost, 1, &IID_IUdpSocket), Site::Call(kRemotePort),
       Site::InterfaceCall(kRemotePort, 1, &IID_IUdpSocket)});
  ProcedureFrame frame(kDescriptor);
  frame.keepObject(1, c_.sckClient.Get());
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kClose:
        frame.check(kSiteClose, c_.sckClient->Close());
        return Step;
      case kProtocol:
        frame.check(kSiteProtocol, c_.sckClient->put_Protocol(kUdpProtocol));
        return Step;
      case kRemoteHost: {
        Bstr address;
        frame.check(kSiteHostText, c_.txtIpAddress->get_Text(address.out()));
        frame.check(kSiteHost, c_.sckClient->put_RemoteHost(address.get()));
        return Step;
      }
      case kRemotePort: {
        LONG port = 0;
        frame.check(kSitePort, PortOf(c_.txtPort.Get(), &port));
        frame.check(kSiteRemotePort, c_.sckClient->put_RemotePort(port));
        return Exit;
      }
    }
    return Exit;
  });
}

HRESULT Form1::ShowConnectionState() {
  enum Stmt : StatementIndex {
    kIf,
    kGreen,
    kDisconnectCaption,
    kAddressLocked,
    kPortLocked,
    kEnable,
    kRed,
    kConnectCaption,
    kAddressFree,
    kPortFree,
    kDisable
  };
  static const ProcedureDescriptor kDescriptor = DescribeProcedure(
      "ShowConnectionState", ReturnKind::Status,
      {Site::InterfaceCall(kIf, 1, &IID_IUdpSocket), Site::ObjectCall(kGreen),
       Site::ObjectCall(kDisconnectCaption), Site::ObjectCall(kAddressLocked),
       Site::ObjectCall(kPortLocked), Site::ObjectCall(kEnable), Site::ObjectCall(kRed),
       Site::ObjectCall(kConnectCaption), Site::ObjectCall(kAddressFree),
       Site::ObjectCall(kPortFree), Site::ObjectCall(kDisable)});
  ProcedureFrame frame(kDescriptor);
  frame.keepObject(1, c_.sckServer.Get());
  // Sites are numbered as the statements here: site n belongs to statement n.
  auto at = [](Stmt s) { return static_cast<SiteIndex>(s); };
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kIf: {
        SHORT state = 0;
        frame.check(at(kIf), c_.sckServer->get_State(&state));
        return state == kStateOpen ? Step : GoTo(kRed);
      }
      case kGreen:
        frame.check(at(kGreen), c_.shpConnected->put_FillColor(kConnected));
        return Step;
      case kDisconnectCaption:
        frame.check(at(kDisconnectCaption), c_.cmdConnect->put_Caption(Bstr(u"Disconnect").get()));
        return Step;
      case kAddressLocked:
        frame.check(at(kAddressLocked), c_.txtIpAddress->put_Enabled(VARIANT_FALSE));
        return Step;
      case kPortLocked:
        frame.check(at(kPortLocked), c_.txtPort->put_Enabled(VARIANT_FALSE));
        return Step;
      case kEnable:
        frame.check(at(kEnable), EnableSendCommands());
        return Exit;
      case kRed:
        frame.check(at(kRed), c_.shpConnected->put_FillColor(kDisconnected));
        return Step;
      case kConnectCaption:
        frame.check(at(kConnectCaption), c_.cmdConnect->put_Caption(Bstr(u"Connect").get()));
        return Step;
      case kAddressFree:
        frame.check(at(kAddressFree), c_.txtIpAddress->put_Enabled(VARIANT_TRUE));
        return Step;
      case kPortFree:
        frame.check(at(kPortFree), c_.txtPort->put_Enabled(VARIANT_TRUE));
        return Step;
      case kDisable:
        frame.check(at(kDisable), DisableSendCommands());
        return Exit;
    }
    return Exit;
  });
}

namespace {

// Enabled of the three send buttons, in the order cmdClear, cmdString,
// cmdSendDataGram.
HRESULT SetSendCommands(ICommandButton* clear, ICommandButton* string, ICommandButton* send,
                        VARIANT_BOOL enabled, const ProcedureDescriptor& descriptor) {
  ProcedureFrame frame(descriptor);
  return frame.run([&](StatementIndex s) -> Next {
    ICommandButton* buttons[] = {clear, string, send};
    if (s > 2) return Exit;
    frame.check(static_cast<SiteIndex>(s), buttons[s]->put_Enabled(enabled));
    return Step;
  });
}

}  // namespace

HRESULT Form1::EnableSendCommands() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("EnableSendCommands", ReturnKind::Status,
                        {Site::ObjectCall(0), Site::ObjectCall(1), Site::ObjectCall(2)});
  return SetSendCommands(c_.cmdClear.Get(), c_.cmdString.Get(), c_.cmdSendDataGram.Get(),
                         VARIANT_TRUE, kDescriptor);
}

HRESULT Form1::DisableSendCommands() {
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("DisableSendCommands", ReturnKind::Status,
                        {Site::ObjectCall(0), Site::ObjectCall(1), Site::ObjectCall(2)});
  return SetSendCommands(c_.cmdClear.Get(), c_.cmdString.Get(), c_.cmdSendDataGram.Get(),
                         VARIANT_FALSE, kDescriptor);
}

HRESULT Form1::Form_Unload(SHORT* /*cancel*/) {
  enum Stmt : StatementIndex { kCloseServer, kCloseClient };
  static const ProcedureDescriptor kDescriptor =
      DescribeProcedure("Form_Unload", ReturnKind::Status,
                        {Site::InterfaceCall(kCloseServer, 1, &IID_IUdpSocket),
                         Site::InterfaceCall(kCloseClient, 2, &IID_IUdpSocket)});
  ProcedureFrame frame(kDescriptor);
  frame.keepObject(1, c_.sckServer.Get());
  frame.keepObject(2, c_.sckClient.Get());
  return frame.run([&](StatementIndex s) -> Next {
    switch (s) {
      case kCloseServer:
        frame.check(kCloseServer, c_.sckServer->Close());
        return Step;
      case kCloseClient:
        frame.check(kCloseClient, c_.sckClient->Close());
        return Exit;
    }
    return Exit;
  });
}

}  // namespace skiffwire
