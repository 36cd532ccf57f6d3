// SAFEARRAY: creation, element access, copying, locking and resizing.
//
// Memory layout of an array made here: one block holds a 16-byte header and
// the descriptor with all its bounds; the header carries the interface
// identifier of an object array (FADF_HAVEIID) or, in its last four bytes,
// the element type (FADF_HAVEVARTYPE). The elements live in a second block.
// Bounds are stored in reverse order, and the first index varies fastest.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "internal/VariantType.h"
#include "platform/oleauto.h"

namespace {

constexpr size_t kHeaderSize = sizeof(GUID);
// Bigger element blocks are refused (the sizes are 32-bit on the platform).
constexpr uint64_t kMaxDataBytes = 0x7FFFFFFF;
// Locks beyond this count are refused, as on the platform.
constexpr ULONG kMaxLocks = 0xFFFF;
constexpr USHORT kNotOwnedFeatures = FADF_AUTO | FADF_STATIC | FADF_EMBEDDED;

size_t DescriptorSize(UINT dims) {
  const size_t withBounds = offsetof(SAFEARRAY, rgsabound) + dims * sizeof(SAFEARRAYBOUND);
  return withBounds > sizeof(SAFEARRAY) ? withBounds : sizeof(SAFEARRAY);
}

uint8_t* HeaderOf(SAFEARRAY* array) {
  return reinterpret_cast<uint8_t*>(array) - kHeaderSize;
}

void StoreHiddenVartype(SAFEARRAY* array, VARTYPE vt) {
  const DWORD value = vt;
  std::memcpy(HeaderOf(array) + kHeaderSize - sizeof(DWORD), &value, sizeof value);
}

DWORD HiddenVartype(SAFEARRAY* array) {
  DWORD value = 0;
  std::memcpy(&value, HeaderOf(array) + kHeaderSize - sizeof(DWORD), sizeof value);
  return value;
}

ULONG ElementSize(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
    case VT_UI1:
      return 1;
    case VT_I2:
    case VT_UI2:
    case VT_BOOL:
      return 2;
    case VT_I4:
    case VT_UI4:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_ERROR:
      return 4;
    case VT_I8:
    case VT_UI8:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
      return 8;
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return sizeof(void*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    case VT_DECIMAL:
      return 16;
  }
  return 0;
}

USHORT FeaturesFor(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_BSTR | FADF_HAVEVARTYPE;
    case VT_VARIANT:
      return FADF_VARIANT | FADF_HAVEVARTYPE;
    case VT_UNKNOWN:
      return FADF_UNKNOWN | FADF_HAVEIID;
    case VT_DISPATCH:
      return FADF_DISPATCH | FADF_HAVEIID;
  }
  return FADF_HAVEVARTYPE;
}

uint64_t ElementCount(const SAFEARRAY* array) {
  uint64_t count = 1;
  for (USHORT i = 0; i < array->cDims; ++i) {
    count *= array->rgsabound[i].cElements;
    if (count > kMaxDataBytes) return kMaxDataBytes + 1;
  }
  return count;
}

bool HoldsObjects(const SAFEARRAY* array) {
  return (array->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) != 0;
}

void* ElementAt(SAFEARRAY* array, uint64_t index) {
  return static_cast<uint8_t*>(array->pvData) + index * array->cbElements;
}

// Releases what the elements in [first, first + count) own.
void ReleaseElements(SAFEARRAY* array, uint64_t first, uint64_t count) {
  if (!array->pvData) return;
  for (uint64_t i = first; i < first + count; ++i) {
    void* element = ElementAt(array, i);
    if (array->fFeatures & FADF_BSTR) {
      SysFreeString(*static_cast<BSTR*>(element));
    } else if (array->fFeatures & FADF_VARIANT) {
      VariantClear(static_cast<VARIANT*>(element));
    } else if (HoldsObjects(array)) {
      if (IUnknown* object = *static_cast<IUnknown**>(element)) object->Release();
    }
  }
}

// Copies one element from a slot of an array of the same kind into another
// slot, which must hold nothing to release.
HRESULT CopyElementInto(const SAFEARRAY* array, const void* from, void* to) {
  if (array->fFeatures & FADF_BSTR) {
    if (!platform::internal::CopyBstr(*static_cast<const BSTR*>(from), static_cast<BSTR*>(to))) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }
  if (array->fFeatures & FADF_VARIANT) {
    VariantInit(static_cast<VARIANT*>(to));
    return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
  }
  std::memcpy(to, from, array->cbElements);
  if (HoldsObjects(array)) {
    if (IUnknown* object = *static_cast<IUnknown* const*>(from)) object->AddRef();
  }
  return S_OK;
}

void FreeDescriptor(SAFEARRAY* array) {
  std::free(HeaderOf(array));
}

// Destroys a descriptor under construction (no locks, elements valid).
struct DescriptorDestroyer {
  void operator()(SAFEARRAY* array) const {
    ReleaseElements(array, 0, array->pvData ? ElementCount(array) : 0);
    std::free(array->pvData);
    FreeDescriptor(array);
  }
};
using OwnedArray = std::unique_ptr<SAFEARRAY, DescriptorDestroyer>;

OwnedArray AllocateDescriptor(UINT dims) {
  auto* block = static_cast<uint8_t*>(std::calloc(1, kHeaderSize + DescriptorSize(dims)));
  if (!block) return nullptr;
  auto* array = reinterpret_cast<SAFEARRAY*>(block + kHeaderSize);
  array->cDims = static_cast<USHORT>(dims);
  return OwnedArray(array);
}

bool AllocateData(SAFEARRAY* array) {
  const uint64_t bytes = ElementCount(array) * array->cbElements;
  if (bytes > kMaxDataBytes) return false;
  // At least one byte, so that an empty array still has a data pointer.
  array->pvData = std::calloc(1, bytes ? bytes : 1);
  return array->pvData != nullptr;
}

// The linear index of an element; false when an index is out of range.
bool LinearIndex(const SAFEARRAY* array, const LONG* indices, uint64_t* index) {
  uint64_t cell = 0;
  uint64_t stride = 1;
  for (USHORT d = 0; d < array->cDims; ++d) {
    const SAFEARRAYBOUND& bound = array->rgsabound[array->cDims - 1 - d];
    const int64_t offset = static_cast<int64_t>(indices[d]) - bound.lLbound;
    if (offset < 0 || offset >= static_cast<int64_t>(bound.cElements)) return false;
    cell += static_cast<uint64_t>(offset) * stride;
    stride *= bound.cElements;
  }
  *index = cell;
  return true;
}

std::atomic_ref<ULONG> LockCount(SAFEARRAY* array) {
  return std::atomic_ref<ULONG>(array->cLocks);
}

// Holds a lock on an array for the length of one operation.
class ScopedArrayLock {
 public:
  explicit ScopedArrayLock(SAFEARRAY* array) : array_(array), status_(SafeArrayLock(array)) {}
  ~ScopedArrayLock() {
    if (SUCCEEDED(status_)) SafeArrayUnlock(array_);
  }
  ScopedArrayLock(const ScopedArrayLock&) = delete;
  ScopedArrayLock& operator=(const ScopedArrayLock&) = delete;
  HRESULT status() const { return status_; }

 private:
  SAFEARRAY* array_;
  HRESULT status_;
};

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
  const ULONG elementSize = ElementSize(vt);
  if (elementSize == 0 || dims == 0 || dims > 0xFFFF || !bounds) return nullptr;
  OwnedArray array = AllocateDescriptor(dims);
  if (!array) return nullptr;
  for (UINT i = 0; i < dims; ++i)
    array->rgsabound[dims - 1 - i] = bounds[i];
  array->cbElements = elementSize;
  array->fFeatures = FeaturesFor(vt);
  if (array->fFeatures & FADF_HAVEIID) {
    const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
    std::memcpy(HeaderOf(array.get()), &iid, sizeof iid);
  } else {
    StoreHiddenVartype(array.get(), vt);
  }
  if (!AllocateData(array.get())) return nullptr;
  return array.release();
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
  SAFEARRAYBOUND bound{elements, lowerBound};
  return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (!array) return S_OK;
  if (LockCount(array).load() > 0) return DISP_E_ARRAYISLOCKED;
  ReleaseElements(array, 0, ElementCount(array));
  // Arrays living in someone else's memory keep their storage.
  if (array->fFeatures & kNotOwnedFeatures) return S_OK;
  std::free(array->pvData);
  FreeDescriptor(array);
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* array, SAFEARRAY** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (!array) return S_OK;
  if (array->cDims == 0 || array->cbElements == 0) return E_INVALIDARG;
  OwnedArray copy = AllocateDescriptor(array->cDims);
  if (!copy) return E_OUTOFMEMORY;
  std::memcpy(HeaderOf(copy.get()), HeaderOf(array), kHeaderSize);
  for (USHORT i = 0; i < array->cDims; ++i)
    copy->rgsabound[i] = array->rgsabound[i];
  copy->cbElements = array->cbElements;
  copy->fFeatures = array->fFeatures & ~(kNotOwnedFeatures | FADF_FIXEDSIZE);
  if (!AllocateData(copy.get())) return E_OUTOFMEMORY;
  const uint64_t count = ElementCount(array);
  for (uint64_t i = 0; i < count; ++i) {
    HRESULT hr = CopyElementInto(array, ElementAt(array, i), ElementAt(copy.get(), i));
    if (FAILED(hr)) return hr;
  }
  *out = copy.release();
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
  return array ? array->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* array) {
  return array ? array->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
  if (!array || !vt) return E_INVALIDARG;
  if (array->fFeatures & FADF_RECORD) {
    *vt = VT_RECORD;
  } else if (array->fFeatures & FADF_HAVEIID) {
    *vt = (array->fFeatures & FADF_DISPATCH) ? VT_DISPATCH : VT_UNKNOWN;
  } else if (array->fFeatures & FADF_HAVEVARTYPE) {
    *vt = static_cast<VARTYPE>(HiddenVartype(array));
  } else if (array->fFeatures & FADF_BSTR) {
    *vt = VT_BSTR;
  } else if (array->fFeatures & FADF_VARIANT) {
    *vt = VT_VARIANT;
  } else {
    return E_INVALIDARG;
  }
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
  *bound = array->rgsabound[array->cDims - dim].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
  if (!array || !bound) return E_INVALIDARG;
  if (dim == 0 || dim > array->cDims) return DISP_E_BADINDEX;
  const SAFEARRAYBOUND& b = array->rgsabound[array->cDims - dim];
  // The 32-bit sum wraps as on the platform; an empty dimension from 0 gives -1.
  *bound = static_cast<LONG>(static_cast<uint32_t>(b.lLbound) + b.cElements - 1u);
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  if (LockCount(array).fetch_add(1) >= kMaxLocks) {
    LockCount(array).fetch_sub(1);
    return E_UNEXPECTED;
  }
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
  if (!array) return E_INVALIDARG;
  ULONG locks = LockCount(array).load();
  do {
    if (locks == 0) return E_UNEXPECTED;
  } while (!LockCount(array).compare_exchange_weak(locks, locks - 1));
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (!array || !data) return E_INVALIDARG;
  HRESULT hr = SafeArrayLock(array);
  *data = SUCCEEDED(hr) ? array->pvData : nullptr;
  return hr;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
  return SafeArrayUnlock(array);
}

HRESULT SafeArrayPtrOfIndex(SAFEARRAY* array, LONG* indices, void** element) {
  if (!array || !indices || !element) return E_INVALIDARG;
  uint64_t index = 0;
  if (!LinearIndex(array, indices, &index)) return DISP_E_BADINDEX;
  *element = ElementAt(array, index);
  return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* indices, void* value) {
  if (!array || !indices) return E_INVALIDARG;
  // A null string or a null object may be stored; other values need data.
  const bool pointerValue = (array->fFeatures & FADF_BSTR) || HoldsObjects(array);
  if (!value && !pointerValue) return E_INVALIDARG;
  uint64_t index = 0;
  if (!LinearIndex(array, indices, &index)) return DISP_E_BADINDEX;
  ScopedArrayLock lock(array);
  if (FAILED(lock.status())) return lock.status();
  void* element = ElementAt(array, index);
  if (array->fFeatures & FADF_BSTR) {
    BSTR copy = nullptr;
    if (!platform::internal::CopyBstr(static_cast<BSTR>(value), &copy)) return E_OUTOFMEMORY;
    SysFreeString(*static_cast<BSTR*>(element));
    *static_cast<BSTR*>(element) = copy;
  } else if (array->fFeatures & FADF_VARIANT) {
    return VariantCopy(static_cast<VARIANT*>(element), static_cast<VARIANT*>(value));
  } else if (HoldsObjects(array)) {
    auto* object = static_cast<IUnknown*>(value);
    if (object) object->AddRef();
    if (IUnknown* old = *static_cast<IUnknown**>(element)) old->Release();
    *static_cast<IUnknown**>(element) = object;
  } else {
    std::memcpy(element, value, array->cbElements);
  }
  return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* indices, void* value) {
  if (!array || !indices || !value) return E_INVALIDARG;
  uint64_t index = 0;
  if (!LinearIndex(array, indices, &index)) return DISP_E_BADINDEX;
  ScopedArrayLock lock(array);
  if (FAILED(lock.status())) return lock.status();
  return CopyElementInto(array, ElementAt(array, index), value);
}

HRESULT SafeArrayRedim(SAFEARRAY* array, SAFEARRAYBOUND* lastDimension) {
  if (!array || !lastDimension || array->cDims == 0) return E_INVALIDARG;
  if (array->fFeatures & kNotOwnedFeatures) return E_INVALIDARG;
  if (LockCount(array).load() > 0 || (array->fFeatures & FADF_FIXEDSIZE)) {
    return DISP_E_ARRAYISLOCKED;
  }
  // The last dimension varies slowest: its slices lie one after another at
  // the end of the data, so resizing keeps or drops whole trailing slices.
  uint64_t sliceSize = 1;
  for (USHORT i = 1; i < array->cDims; ++i)
    sliceSize *= array->rgsabound[i].cElements;
  const uint64_t oldCount = ElementCount(array);
  const uint64_t newCount = sliceSize * lastDimension->cElements;
  const uint64_t newBytes = newCount * array->cbElements;
  if (newBytes > kMaxDataBytes) return E_OUTOFMEMORY;

  void* data = std::calloc(1, newBytes ? newBytes : 1);
  if (!data) return E_OUTOFMEMORY;
  if (newCount < oldCount) ReleaseElements(array, newCount, oldCount - newCount);
  const uint64_t kept = newCount < oldCount ? newCount : oldCount;
  if (array->pvData) std::memcpy(data, array->pvData, kept * array->cbElements);
  std::free(array->pvData);
  array->pvData = data;
  array->rgsabound[0] = *lastDimension;
  return S_OK;
}
