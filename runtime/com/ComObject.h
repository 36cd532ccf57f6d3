// Reference counting and QueryInterface for the application's COM classes.
//
//   class SimulatedLabel final : public ComObject<SimulatedLabel, ILabel> { ... };
//   ComPtr<SimulatedLabel> label = MakeComObject<SimulatedLabel>();
//
// ComObject implements IUnknown once for every listed interface; it answers
// IID_IUnknown, IID_IDispatch (when one of the interfaces derives from it) and
// each interface's own identifier (InterfaceId). A class adds identifiers of
// its own (an event interface it also answers to) by overriding
// queryExtraInterface.
#pragma once

#include <atomic>
#include <type_traits>
#include <utility>

#include "platform/com.h"

namespace rt {

template <typename Derived, typename First, typename... Rest>
class ComObject : public First, public Rest... {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = findInterface(riid);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete static_cast<Derived*>(this);  // the one place objects die
    return left;
  }

  IUnknown* unknown() { return static_cast<First*>(this); }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  // Further identifiers the object answers with `this` seen as one of its
  // interfaces; null for none.
  virtual void* queryExtraInterface(REFIID) { return nullptr; }

 private:
  void* findInterface(REFIID riid) {
    if (riid == IID_IUnknown) return unknown();
    if (void* match = matchListed<First, Rest...>(riid)) return match;
    if (riid == IID_IDispatch) return dispatchOf<First, Rest...>();
    return queryExtraInterface(riid);
  }

  template <typename I, typename... More>
  void* matchListed(REFIID riid) {
    if (riid == InterfaceId<I>::value) return static_cast<I*>(this);
    if constexpr (sizeof...(More) > 0) {
      return matchListed<More...>(riid);
    } else {
      return nullptr;
    }
  }

  template <typename I, typename... More>
  void* dispatchOf() {
    if constexpr (std::is_base_of_v<IDispatch, I>) {
      return static_cast<IDispatch*>(static_cast<I*>(this));
    } else if constexpr (sizeof...(More) > 0) {
      return dispatchOf<More...>();
    } else {
      return nullptr;
    }
  }

  std::atomic<ULONG> references_{1};
};

// Creates an object with one reference, held by the returned pointer.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace rt
