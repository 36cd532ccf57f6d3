// Writes a design blob as a C++ source the build compiles in.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace designc {

// A source defining, in namespace skiffwire::designs,
//   extern const unsigned char <symbol>[];     the blob
//   extern const std::size_t <symbol>Size;     its length in bytes
std::string EmitCppSource(std::span<const uint8_t> blob, const std::string& symbol,
                          const std::string& descriptionName);

}  // namespace designc
