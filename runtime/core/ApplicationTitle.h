// The application title: the project name that start-up publishes, the
// default caption of message boxes.
#pragma once

#include <string>
#include <string_view>

namespace rt {

class ApplicationTitle {
 public:
  static constexpr std::u16string_view kProjectName = u"Plumbridge";

  // "Plumbridge" until start-up publishes another; empty means none.
  static std::u16string Get();
  static void Publish(std::u16string_view title);
};

}  // namespace rt
