// designc: compiles a form description into the design blob as C++ source.
#include <cstdio>
#include <string>

#include "runtime/forms/design/PropertyLayout.h"
#include "tools/designc/Compiler.h"

// Defined by runtime_controls; absent while the controls are not built.
namespace rt {
[[gnu::weak]] void RegisterControlPropertyLayouts();
}  // namespace rt

int main(int argc, char** argv) {
  designc::Options options;
  std::string message;
  if (!designc::ParseArguments(argc, argv, options, message)) {
    std::fputs(message.c_str(), stderr);
    return 1;
  }
  // The controls register their layouts when they are linked in.
  if (&rt::RegisterControlPropertyLayouts) rt::RegisterControlPropertyLayouts();
  message.clear();
  const int status = designc::RunCompiler(options, message);
  std::fputs(message.c_str(), stderr);
  return status;
}
