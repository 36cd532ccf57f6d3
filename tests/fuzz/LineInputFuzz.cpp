// Line Input # over arbitrary file contents, record lengths and modes: every
// line must come out as the line rules cut it, EOF must turn true exactly
// after the line that reached the end, and reading on past the end must give
// empty lines without an error.
// Libraries: runtime_core
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "runtime/core/FileStatements.h"
#include "runtime/core/FileTable.h"
#include "runtime/core/LineInput.h"

namespace {

using fuzz_support::ModelLine;

constexpr LONG kFile = 1;

struct Opening {
  rt::FileMode mode;
  DWORD openFlags;
  DWORD encoding;
  const char* what;
};

constexpr Opening kOpenings[] = {
    {rt::FileMode::Input, rt::kOpenFallBackToNarrowerAccess, 0, "Input"},
    {rt::FileMode::Binary, rt::kOpenFallBackToNarrowerAccess, 0, "Binary"},
    {rt::FileMode::Input, rt::kOpenFallBackToNarrowerAccess | rt::kOpenUnbuffered, 0,
     "Input unbuffered"},
    {rt::FileMode::Input, rt::kOpenFallBackToNarrowerAccess, CP_UTF16LE, "Input UTF-16"},
    {rt::FileMode::Binary, rt::kOpenFallBackToNarrowerAccess, CP_UTF16LE, "Binary UTF-16"},
};

std::u16string Expected(const ModelLine& line, bool wide) {
  if (wide) {
    std::u16string text;
    for (size_t i = 0; i + 1 < line.units.size(); i += 2) {
      text += static_cast<char16_t>(static_cast<unsigned char>(line.units[i]) |
                                    static_cast<unsigned char>(line.units[i + 1]) << 8);
    }
    return text;
  }
  if (line.units.empty()) return {};
  const int length = static_cast<int>(line.units.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, line.units.data(), length, nullptr, 0);
  std::u16string text(static_cast<size_t>(needed), u'\0');
  MultiByteToWideChar(CP_ACP, 0, line.units.data(), length, text.data(), needed);
  return text;
}

bool AtEnd() {
  VARIANT_BOOL atEnd = VARIANT_FALSE;
  FUZZ_CHECK(rt::FileEof(kFile, &atEnd) == S_OK, "EOF of an open file");
  return atEnd == VARIANT_TRUE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const fuzz_support::ScratchFolder folder;
  static const HRESULT created = rt::FileTable::Create();
  FUZZ_CHECK(SUCCEEDED(created), "file table");

  FuzzedDataProvider input(data, size);
  const Opening& opening = input.PickValueInArray(kOpenings);
  // Short records are the common case (the statements use 128); long ones
  // make the Input buffer the record length.
  const LONG recordLength = input.ConsumeBool() ? input.ConsumeIntegralInRange<LONG>(1, 300)
                                                : input.ConsumeIntegralInRange<LONG>(1, 32767);
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  folder.write("lines.txt", bytes);

  const HRESULT opened =
      rt::OpenFile(folder.win32("lines.txt"), kFile, recordLength, GENERIC_READ, 3, OPEN_EXISTING,
                   opening.openFlags, opening.mode, opening.encoding);
  FUZZ_CHECK(opened == S_OK, opening.what);

  const bool wide = opening.encoding == CP_UTF16LE;
  const std::vector<ModelLine> lines = fuzz_support::ModelLines(bytes, wide ? 2 : 1);
  if (opening.mode == rt::FileMode::Input) {
    FUZZ_CHECK(AtEnd() == bytes.empty(), "EOF before the first line");
  }
  for (const ModelLine& line : lines) {
    FUZZ_CHECK(!AtEnd(), "EOF before the last line");
    Bstr text(u"previous");
    FUZZ_CHECK(rt::LineInput(kFile, &text) == S_OK, opening.what);
    FUZZ_CHECK(text.view() == Expected(line, wide), "the line's text");
    FUZZ_CHECK(AtEnd() == (line.end == bytes.size()), "EOF after the line");
  }
  // Past the end: empty lines without an error, EOF stays true.
  for (int extra = 0; extra < 2; ++extra) {
    Bstr text(u"previous");
    FUZZ_CHECK(rt::LineInput(kFile, &text) == S_OK, "a read past the end");
    FUZZ_CHECK(text.view().empty(), "a line past the end");
    FUZZ_CHECK(AtEnd(), "EOF past the end");
  }
  FUZZ_CHECK(rt::CloseFile(kFile) == S_OK, "close");
  return 0;
}
