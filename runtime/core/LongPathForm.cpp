#include "runtime/core/LongPathForm.h"

#include "runtime/core/internal/FullPathName.h"

namespace rt {

HRESULT LongPathForm(std::u16string_view path, std::u16string* longPath) {
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') {
    *longPath = u"\\\\?\\UNC\\";
    *longPath += path.substr(2);
    return S_OK;
  }
  auto full = internal::ResolveFullPathName(std::u16string(path));
  if (!full) return E_FAIL;
  *longPath = u"\\\\?\\" + full->path;
  return S_OK;
}

}  // namespace rt
