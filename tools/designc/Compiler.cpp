#include "tools/designc/Compiler.h"

#include <fstream>
#include <sstream>

#include "runtime/forms/design/DesignBlob.h"
#include "tools/designc/CppEmitter.h"
#include "tools/designc/DescriptionParser.h"
#include "tools/designc/DesignEncoder.h"

namespace designc {
namespace {

bool IsIdentifier(const std::string& s) {
  if (s.empty() || (s[0] >= '0' && s[0] <= '9')) return false;
  for (const char c : s) {
    const bool ok =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

std::vector<uint8_t> CompileDescription(std::string_view text) {
  const Description description = DescriptionParser(text).parse();
  const std::vector<uint8_t> unpacked = DesignEncoder().encode(description);
  std::vector<uint8_t> blob;
  if (FAILED(rt::DesignBlob::Pack(unpacked, blob))) {
    throw DescriptionError({1, 1}, "the designs are too large to pack");
  }
  return blob;
}

bool ParseArguments(int argc, const char* const* argv, Options& options, std::string& usage) {
  usage = "usage: designc DESCRIPTION -o OUTPUT.cpp [--symbol NAME]\n";
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "-o" || arg == "--symbol") && i + 1 < argc) {
      (arg == "-o" ? options.output : options.symbol) = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && options.input.empty()) {
      options.input = arg;
    } else {
      return false;
    }
  }
  return !options.input.empty() && !options.output.empty() && IsIdentifier(options.symbol);
}

int RunCompiler(const Options& options, std::string& diagnostics) {
  std::ifstream in(options.input, std::ios::binary);
  if (!in) {
    diagnostics = options.input + ": error: cannot read the description\n";
    return 1;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<uint8_t> blob;
  try {
    blob = CompileDescription(text.str());
  } catch (const DescriptionError& e) {
    diagnostics = options.input + ":" + std::to_string(e.pos.line) + ":" +
                  std::to_string(e.pos.column) + ": error: " + e.what() + "\n";
    return 1;
  }
  const std::string source = EmitCppSource(blob, options.symbol, options.input);
  std::ofstream out(options.output, std::ios::binary | std::ios::trunc);
  out << source;
  if (!out.flush()) {
    diagnostics = options.output + ": error: cannot write the output\n";
    return 1;
  }
  return 0;
}

}  // namespace designc
