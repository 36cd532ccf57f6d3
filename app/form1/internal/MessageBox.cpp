#include "app/form1/internal/MessageBox.h"

#include "platform/oleauto.h"
#include "runtime/core/MessageBoxFunction.h"

namespace skiffwire::internal {

HRESULT ShowMessage(std::u16string_view prompt, std::u16string_view title) {
  LONG button = 0;
  return rt::MessageBoxFunction(Variant::Str(prompt), MB_OK, Variant::Str(title),
                                Variant::Missing(), Variant::Missing(), &button);
}

}  // namespace skiffwire::internal
