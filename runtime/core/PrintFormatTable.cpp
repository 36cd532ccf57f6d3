#include "runtime/core/PrintFormatTable.h"

#include <string_view>

#include "platform/kernel.h"

namespace rt {
namespace {

constexpr std::string_view kNarrowSpaces = "               ";
constexpr std::u16string_view kWideSpaces = u"               ";
static_assert(kNarrowSpaces.size() == PrintFormatTable::kSpaceRun);
static_assert(kWideSpaces.size() == PrintFormatTable::kSpaceRun);

PrintFormatTable::Entry narrow(std::string_view text, size_t characters) {
  return {reinterpret_cast<const BYTE*>(text.data()), static_cast<DWORD>(characters)};
}

PrintFormatTable::Entry wide(std::u16string_view text, size_t characters) {
  return {reinterpret_cast<const BYTE*>(text.data()),
          static_cast<DWORD>(characters * sizeof(char16_t))};
}

// One builder for both tables, so that they cannot drift apart.
template <typename Text, typename Make>
std::array<PrintFormatTable::Entry, PrintFormatTable::kEntryCount> entriesOf(
    Make make, Text lineBreak, Text comma, Text spaces, Text quote, Text nullInPrint,
    Text nullInWrite, Text trueInWrite, Text falseInWrite, Text errorInWrite, Text errorInPrint) {
  return {make(lineBreak, lineBreak.size()),
          make(comma, comma.size()),
          make(spaces, 1),
          make(quote, quote.size()),
          make(quote, quote.size()),
          make(nullInPrint, nullInPrint.size()),
          make(nullInWrite, nullInWrite.size()),
          make(trueInWrite, trueInWrite.size()),
          make(falseInWrite, falseInWrite.size()),
          make(errorInWrite, errorInWrite.size()),
          make(errorInPrint, errorInPrint.size())};
}

}  // namespace

const PrintFormatTable& PrintFormatTable::Narrow() {
  using T = std::string_view;
  static const PrintFormatTable table(
      entriesOf<T>(narrow, "\r\n", ",", kNarrowSpaces, "\"", "Null", "#NULL#", "#TRUE#", "#FALSE#",
                   "#ERROR ", "Error "),
      1);
  return table;
}

const PrintFormatTable& PrintFormatTable::Wide() {
  using T = std::u16string_view;
  static const PrintFormatTable table(
      entriesOf<T>(wide, u"\r\n", u",", kWideSpaces, u"\"", u"Null", u"#NULL#", u"#TRUE#",
                   u"#FALSE#", u"#ERROR ", u"Error "),
      2);
  return table;
}

const PrintFormatTable& PrintFormatTable::ForCodePage(UINT codePage) {
  return codePage == CP_UTF16LE ? Wide() : Narrow();
}

}  // namespace rt
