// designc: compiles a form description into the design blob as C++ source.
#include <cstdio>
#include <string>

#include "runtime/forms/design/PropertyLayout.h"
#include "tools/designc/Compiler.h"

int main(int argc, char** argv) {
  designc::Options options;
  std::string message;
  if (!designc::ParseArguments(argc, argv, options, message)) {
    std::fputs(message.c_str(), stderr);
    return 1;
  }
#ifdef DESIGNC_WITH_CONTROLS
  rt::RegisterControlPropertyLayouts();
#endif
  const int status = designc::RunCompiler(options, message);
  std::fputs(message.c_str(), stderr);
  return status;
}
