#include "runtime/core/ApplicationTitle.h"

#include <mutex>

namespace rt {
namespace {

struct Title {
  std::mutex mutex;
  std::u16string text{ApplicationTitle::kProjectName};
};

Title& title() {
  static Title instance;
  return instance;
}

}  // namespace

std::u16string ApplicationTitle::Get() {
  Title& t = title();
  std::lock_guard lock(t.mutex);
  return t.text;
}

void ApplicationTitle::Publish(std::u16string_view text) {
  Title& t = title();
  std::lock_guard lock(t.mutex);
  t.text = text;
}

}  // namespace rt
