#include "runtime/core/ProcedureFrame.h"

#include <cassert>
#include <cfenv>

#include "runtime/core/ErrorObject.h"

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace rt {
namespace {

// Procedures run with every floating-point exception masked and rounding to
// nearest (the x87 control word 0x037F of the original; on x86-64 the SSE
// unit does the arithmetic, so it is its control register that is set).
void enterFloatingPointMode() {
#if defined(__x86_64__)
  constexpr unsigned kMasked = _MM_MASK_MASK;
  constexpr unsigned kWanted = kMasked | _MM_ROUND_NEAREST;
  const unsigned csr = _mm_getcsr();
  if ((csr & (kMasked | _MM_ROUND_MASK)) != kWanted) {
    _mm_setcsr((csr & ~(kMasked | _MM_ROUND_MASK)) | kWanted);
  }
#else
  if (std::fegetround() != FE_TONEAREST) std::fesetround(FE_TONEAREST);
#endif
}

}  // namespace

ProcedureFrame::ProcedureFrame(const ProcedureDescriptor& descriptor) : descriptor_(&descriptor) {
  enterFloatingPointMode();
  ThreadErrorContext& context = CurrentErrorContext();
  sequence_ = context.frameSequence++;
  link_ = context.frameHead;
  context.frameHead = this;
}

ProcedureFrame::~ProcedureFrame() {
  ThreadErrorContext& context = CurrentErrorContext();
  assert(context.frameHead == this);
  context.frameHead = link_;
}

HRESULT ProcedureFrame::exitStatus() {
  if (descriptor_->returnKind == ReturnKind::Value) {
    CurrentErrorContext().error.pendingNumber = status;
  }
  return status;
}

const void* ProcedureFrame::slotWord(LONG slot) const {
  if (slot == 0) return link_;
  return slotObject(slot);
}

IUnknown* ProcedureFrame::slotObject(LONG slot) const {
  if (slot <= 0 || slot >= kObjectSlots) return nullptr;
  return objects_[slot];
}

void ProcedureFrame::keepObject(LONG slot, IUnknown* object) {
  assert(slot > 0 && slot < kObjectSlots);
  if (slot > 0 && slot < kObjectSlots) objects_[slot] = object;
}

void ProcedureFrame::checkPending(SiteIndex site) {
  if (CurrentErrorContext().error.pendingNumber != 0) raise(site, S_OK);
}

void ProcedureFrame::raise(SiteIndex site, HRESULT status) {
  ThreadErrorContext& context = CurrentErrorContext();
  const DecodedSite decoded = DecodeSite(descriptor_->siteTable, site, status);
  // A site belongs to one statement; a table naming another one is a
  // bookkeeping error in the procedure's declaration.
  assert(site >= SiteCount(descriptor_->siteTable) || decoded.statementStart == current_);
  context.decodedSite = decoded;
  context.pendingInterface = decoded.interfaceId;
  if (decoded.objectSlot != -1) {
    context.pendingObject = slotWord(decoded.objectSlot);
    context.pendingComObject = slotObject(decoded.objectSlot);
    context.pendingStatus = decoded.status;
  } else {
    context.pendingObject = nullptr;
    context.pendingComObject = nullptr;
  }
  throw internal::SiteRaised{};
}

void ProcedureFrame::raiseError(SiteIndex site, LONG number, std::u16string_view description,
                                std::u16string_view source) {
  raiseRecord.number = number;
  raiseRecord.description = description.empty() ? Bstr() : Bstr(description);
  raiseRecord.source = source.empty() ? Bstr() : Bstr(source);
  raise(site, number >= 0 ? ErrorStatus(number) : number);
}

void ProcedureFrame::onErrorGoTo(StatementIndex label) {
  ClearErrorObject();
  handler = ProcedureDescriptor::kStartAddress + label;
}

void ProcedureFrame::onErrorResumeNext() {
  ClearErrorObject();
  handler = kResumeNextHandler;
}

void ProcedureFrame::onErrorGoTo0() {
  ClearErrorObject();
  handler = kNoHandler;
  resumeAddress = 0;
  resumeNextAddress = 0;
}

// Resume clears the error and ends the running handler, so that the frame's
// handler takes the next error again, as the language defines it.
Next ProcedureFrame::resume() {
  assert(resumeAddress != 0);
  const intptr_t target = resumeAddress;
  resumeAddress = 0;
  resumeNextAddress = 0;
  ClearErrorObject();
  if (target == 0) return Exit;
  return GoTo(static_cast<StatementIndex>(target - ProcedureDescriptor::kStartAddress));
}

Next ProcedureFrame::resumeNext() {
  assert(resumeAddress != 0);
  const intptr_t target = resumeNextAddress;
  resumeAddress = 0;
  resumeNextAddress = 0;
  ClearErrorObject();
  if (target == 0) return Exit;
  return GoTo(static_cast<StatementIndex>(target - ProcedureDescriptor::kStartAddress));
}

}  // namespace rt
