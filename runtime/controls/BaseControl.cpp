#include "runtime/controls/BaseControl.h"

#include "runtime/controls/ControlIds.h"
#include "runtime/core/ErrorObject.h"
#include "runtime/core/Status.h"
#include "runtime/forms/ControlRecord.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/FormState.h"

namespace rt {
namespace {

HRESULT DispatchOf(EngineControl* object, IDispatch** out) {
  *out = nullptr;
  if (!object) return SetErrorFromStatus(ErrorStatus(err::ObjectNotSet));
  return object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(out));
}

}  // namespace

const ClassDescriptor& BaseControl::descriptor() const {
  static const ClassDescriptor cls{u"BaseControl", &InitialiseRuntimeClass};
  return cls;
}

const MemberTable& BaseControl::Members() {
  static const MemberTable table = [] {
    MemberTable t;
    t.text(u"Name", dispid::Name, &BaseControl::getName);
    t.text(u"Tag", dispid::Tag, &BaseControl::getTag, &BaseControl::putTag);
    t.property<VT_I2>(u"Index", dispid::Index, &BaseControl::getIndex);
    t.object(u"Container", dispid::Container, &BaseControl::getContainer);
    t.object(u"Parent", dispid::Parent, &BaseControl::getParent);
    return t;
  }();
  return table;
}

HRESULT BaseControl::getName(BSTR* name) {
  if (!name) return E_POINTER;
  *name = record_ ? Bstr(record_->name).release() : nullptr;
  return S_OK;
}

HRESULT BaseControl::getTag(BSTR* tag) {
  if (!tag) return E_POINTER;
  *tag = Bstr(tag_).release();
  return S_OK;
}

HRESULT BaseControl::putTag(BSTR tag) {
  tag_ = Bstr(std::u16string_view(tag ? tag : u"", SysStringLen(tag)));
  return S_OK;
}

HRESULT BaseControl::getIndex(SHORT* index) {
  if (!index) return E_POINTER;
  // -1 for a control that is not an element of a control array.
  *index = static_cast<SHORT>(record_ ? record_->arrayIndex : -1);
  return S_OK;
}

HRESULT BaseControl::getContainer(IDispatch** container) {
  if (!container) return E_POINTER;
  return DispatchOf(record_ && record_->container ? ObjectOf(*record_->container) : nullptr,
                    container);
}

HRESULT BaseControl::getParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  return DispatchOf(record_ && record_->form ? record_->form->formObject : nullptr, parent);
}

}  // namespace rt
