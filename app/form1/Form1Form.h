// Form1 as a compiled form class: the instance the process entry creates
// and shows by name. It holds one member slot per member of Form1's design
// (the member id is the slot index: the Form object first, then each
// container followed by its children, in design order; the elements of the
// lblTitle control array share the slot of the first one), answers the event
// sink of each member whose events Form1 handles (its handler table), and
// forwards its own dispatch members ("Show", "Caption", ...) to the Form
// object in slot 0.
//
// Once the slots are filled (by the design loader, or by a host that builds
// the controls itself), bind() hands the controls to Form1's procedures;
// events that arrive before that are ignored.
//
// Reentrancy: the sinks run Form1's handlers synchronously inside the
// control's raise; a handler may pump messages, and may see further events
// of its own or other members meanwhile (the socket's nesting is bounded by
// the control).
#pragma once

#include <array>
#include <memory>

#include "app/form1/Form1.h"
#include "runtime/com/ComObject.h"
#include "runtime/com/EventSink.h"
#include "runtime/com/NoTypeInfo.h"
#include "runtime/forms/CompiledForm.h"

namespace skiffwire {

// Member ids (slot indices) of Form1's design.
namespace member {
inline constexpr DISPID Form1 = 0;
// The sixteen captions form one control array, lblTitle(0) to lblTitle(15),
// whose slot holds the array object.
inline constexpr DISPID lblTitle = 2;
inline constexpr DISPID txtIpAddress = 3;
inline constexpr DISPID txtPort = 4;
inline constexpr DISPID cmdConnect = 5;
inline constexpr DISPID shpConnected = 6;
inline constexpr DISPID txtClearString = 8;
inline constexpr DISPID txtTestString = 9;
inline constexpr DISPID sckServer = 10;
inline constexpr DISPID sckClient = 11;
inline constexpr DISPID txtWaitState = 13;
inline constexpr DISPID txtPacketLen = 14;
inline constexpr DISPID chkSTX = 15;
inline constexpr DISPID chkEOT = 16;
inline constexpr DISPID chkChecksum = 17;
inline constexpr DISPID txtTimeOut = 18;
inline constexpr DISPID txtRetry = 19;
inline constexpr DISPID txtDatagram = 21;
inline constexpr DISPID lblChecksum = 23;
inline constexpr DISPID lblDatagramLength = 24;
inline constexpr DISPID lblPacketQty = 25;
inline constexpr DISPID txtProcess = 27;
inline constexpr DISPID tmrTimeout = 28;
inline constexpr DISPID cmdSaveSettings = 30;
inline constexpr DISPID cmdString = 31;
inline constexpr DISPID cmdClear = 32;
inline constexpr DISPID cmdClearDatagram = 33;
inline constexpr DISPID cmdSendDataGram = 34;
// Member slots: the form, its 33 controls outside the array, the array.
inline constexpr size_t kCount = 35;
}  // namespace member

class Form1Form final : public rt::ComObject<Form1Form, IDispatch, rt::CompiledForm> {
 public:
  // Form1's slot in the design table.
  static constexpr int kDesignIndex = 0;

  // runtime: the language's DoEvents for Form1's procedures.
  explicit Form1Form(ComPtr<IYield> runtime);

  // ---- CompiledForm
  int designIndex() override { return kDesignIndex; }
  std::span<ComPtr<IUnknown>> memberSlots() override { return slots_; }
  IDispatch* eventSinkForMember(DISPID memberId) override;
  rt::EngineControl* formObject() override;

  // ---- IDispatch: the Form object's members
  HRESULT GetTypeInfoCount(UINT* count) override { return rt::NoTypeInfoCount(count); }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return rt::NoTypeInfo(info); }
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excep, UINT* argErr) override;

  // Hands the filled slots to Form1's procedures; E_NOINTERFACE when a
  // member lacks the interface the procedures use (nothing is bound then).
  HRESULT bind();
  // Form1's procedures; null before bind().
  Form1* code() { return code_.get(); }

 private:
  ~Form1Form() override;
  friend class rt::ComObject<Form1Form, IDispatch, rt::CompiledForm>;

  IDispatch* formDispatch();
  HRESULT handle(DISPID memberId, DISPID event, const DISPPARAMS& arguments);

  ComPtr<IYield> runtime_;
  std::array<ComPtr<IUnknown>, member::kCount> slots_;
  std::array<ComPtr<rt::EventSink>, member::kCount> sinks_;
  std::unique_ptr<Form1> code_;
};

}  // namespace skiffwire
