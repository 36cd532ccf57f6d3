#include "runtime/forms/arrays/ElementEnumerator.h"

#include "platform/oleauto.h"
#include "runtime/forms/arrays/ControlArray.h"

namespace rt {

ElementEnumerator::ElementEnumerator(ComPtr<ControlArray> array, LONG position)
    : array_(std::move(array)), position_(position) {}

ElementEnumerator::~ElementEnumerator() = default;

bool ElementEnumerator::advance() {
  while (position_ < array_->tableLength()) {
    if (array_->elementAt(position_)) return true;
    ++position_;
  }
  return false;
}

HRESULT ElementEnumerator::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  if (!items && count > 0) return E_POINTER;
  ULONG given = 0;
  while (given < count && advance()) {
    IDispatch* element = nullptr;
    if (FAILED(array_->elementAt(position_)->QueryInterface(IID_IDispatch,
                                                            reinterpret_cast<void**>(&element)))) {
      ++position_;
      continue;
    }
    VariantInit(&items[given]);
    items[given].vt = VT_DISPATCH;
    items[given].pdispVal = element;
    ++given;
    ++position_;
  }
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT ElementEnumerator::Skip(ULONG count) {
  for (ULONG skipped = 0; skipped < count; ++skipped) {
    if (!advance()) return S_FALSE;
    ++position_;
  }
  return S_OK;
}

HRESULT ElementEnumerator::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT ElementEnumerator::Clone(IEnumVARIANT** copy) {
  if (!copy) return E_POINTER;
  ComPtr<ElementEnumerator> made = MakeComObject<ElementEnumerator>(array_, position_);
  *copy = made.Detach();
  return S_OK;
}

}  // namespace rt
