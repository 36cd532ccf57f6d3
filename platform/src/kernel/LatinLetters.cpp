#include "internal/LatinLetters.h"

#include <algorithm>
#include <iterator>

namespace platform::internal {
namespace {

// Generated from the canonical decompositions of U+00C0..U+024F: base letter,
// case, and the weight of the combining marks (first mark - 0x2FF, plus the
// second mark's value times 113).
constexpr LatinLetter kLetters[] = {
    {0x00C0, 'a', true, 1},           {0x00C1, 'a', true, 2},
    {0x00C2, 'a', true, 3},           {0x00C3, 'a', true, 4},
    {0x00C4, 'a', true, 9},           {0x00C5, 'a', true, 11},
    {0x00C7, 'c', true, 40},          {0x00C8, 'e', true, 1},
    {0x00C9, 'e', true, 2},           {0x00CA, 'e', true, 3},
    {0x00CB, 'e', true, 9},           {0x00CC, 'i', true, 1},
    {0x00CD, 'i', true, 2},           {0x00CE, 'i', true, 3},
    {0x00CF, 'i', true, 9},           {0x00D0, 'd', true, kStroke},
    {0x00D1, 'n', true, 4},           {0x00D2, 'o', true, 1},
    {0x00D3, 'o', true, 2},           {0x00D4, 'o', true, 3},
    {0x00D5, 'o', true, 4},           {0x00D6, 'o', true, 9},
    {0x00D8, 'o', true, kStroke},     {0x00D9, 'u', true, 1},
    {0x00DA, 'u', true, 2},           {0x00DB, 'u', true, 3},
    {0x00DC, 'u', true, 9},           {0x00DD, 'y', true, 2},
    {0x00E0, 'a', false, 1},          {0x00E1, 'a', false, 2},
    {0x00E2, 'a', false, 3},          {0x00E3, 'a', false, 4},
    {0x00E4, 'a', false, 9},          {0x00E5, 'a', false, 11},
    {0x00E7, 'c', false, 40},         {0x00E8, 'e', false, 1},
    {0x00E9, 'e', false, 2},          {0x00EA, 'e', false, 3},
    {0x00EB, 'e', false, 9},          {0x00EC, 'i', false, 1},
    {0x00ED, 'i', false, 2},          {0x00EE, 'i', false, 3},
    {0x00EF, 'i', false, 9},          {0x00F0, 'd', false, kStroke},
    {0x00F1, 'n', false, 4},          {0x00F2, 'o', false, 1},
    {0x00F3, 'o', false, 2},          {0x00F4, 'o', false, 3},
    {0x00F5, 'o', false, 4},          {0x00F6, 'o', false, 9},
    {0x00F8, 'o', false, kStroke},    {0x00F9, 'u', false, 1},
    {0x00FA, 'u', false, 2},          {0x00FB, 'u', false, 3},
    {0x00FC, 'u', false, 9},          {0x00FD, 'y', false, 2},
    {0x00FF, 'y', false, 9},          {0x0100, 'a', true, 5},
    {0x0101, 'a', false, 5},          {0x0102, 'a', true, 7},
    {0x0103, 'a', false, 7},          {0x0104, 'a', true, 41},
    {0x0105, 'a', false, 41},         {0x0106, 'c', true, 2},
    {0x0107, 'c', false, 2},          {0x0108, 'c', true, 3},
    {0x0109, 'c', false, 3},          {0x010A, 'c', true, 8},
    {0x010B, 'c', false, 8},          {0x010C, 'c', true, 13},
    {0x010D, 'c', false, 13},         {0x010E, 'd', true, 13},
    {0x010F, 'd', false, 13},         {0x0110, 'd', true, kStroke},
    {0x0111, 'd', false, kStroke},    {0x0112, 'e', true, 5},
    {0x0113, 'e', false, 5},          {0x0114, 'e', true, 7},
    {0x0115, 'e', false, 7},          {0x0116, 'e', true, 8},
    {0x0117, 'e', false, 8},          {0x0118, 'e', true, 41},
    {0x0119, 'e', false, 41},         {0x011A, 'e', true, 13},
    {0x011B, 'e', false, 13},         {0x011C, 'g', true, 3},
    {0x011D, 'g', false, 3},          {0x011E, 'g', true, 7},
    {0x011F, 'g', false, 7},          {0x0120, 'g', true, 8},
    {0x0121, 'g', false, 8},          {0x0122, 'g', true, 40},
    {0x0123, 'g', false, 40},         {0x0124, 'h', true, 3},
    {0x0125, 'h', false, 3},          {0x0126, 'h', true, kStroke},
    {0x0127, 'h', false, kStroke},    {0x0128, 'i', true, 4},
    {0x0129, 'i', false, 4},          {0x012A, 'i', true, 5},
    {0x012B, 'i', false, 5},          {0x012C, 'i', true, 7},
    {0x012D, 'i', false, 7},          {0x012E, 'i', true, 41},
    {0x012F, 'i', false, 41},         {0x0130, 'i', true, 8},
    {0x0131, 'i', false, kDotless},   {0x0134, 'j', true, 3},
    {0x0135, 'j', false, 3},          {0x0136, 'k', true, 40},
    {0x0137, 'k', false, 40},         {0x0139, 'l', true, 2},
    {0x013A, 'l', false, 2},          {0x013B, 'l', true, 40},
    {0x013C, 'l', false, 40},         {0x013D, 'l', true, 13},
    {0x013E, 'l', false, 13},         {0x013F, 'l', true, kMiddleDot},
    {0x0140, 'l', false, kMiddleDot}, {0x0141, 'l', true, kStroke},
    {0x0142, 'l', false, kStroke},    {0x0143, 'n', true, 2},
    {0x0144, 'n', false, 2},          {0x0145, 'n', true, 40},
    {0x0146, 'n', false, 40},         {0x0147, 'n', true, 13},
    {0x0148, 'n', false, 13},         {0x014A, 'n', true, kHook},
    {0x014B, 'n', false, kHook},      {0x014C, 'o', true, 5},
    {0x014D, 'o', false, 5},          {0x014E, 'o', true, 7},
    {0x014F, 'o', false, 7},          {0x0150, 'o', true, 12},
    {0x0151, 'o', false, 12},         {0x0154, 'r', true, 2},
    {0x0155, 'r', false, 2},          {0x0156, 'r', true, 40},
    {0x0157, 'r', false, 40},         {0x0158, 'r', true, 13},
    {0x0159, 'r', false, 13},         {0x015A, 's', true, 2},
    {0x015B, 's', false, 2},          {0x015C, 's', true, 3},
    {0x015D, 's', false, 3},          {0x015E, 's', true, 40},
    {0x015F, 's', false, 40},         {0x0160, 's', true, 13},
    {0x0161, 's', false, 13},         {0x0162, 't', true, 40},
    {0x0163, 't', false, 40},         {0x0164, 't', true, 13},
    {0x0165, 't', false, 13},         {0x0166, 't', true, kStroke},
    {0x0167, 't', false, kStroke},    {0x0168, 'u', true, 4},
    {0x0169, 'u', false, 4},          {0x016A, 'u', true, 5},
    {0x016B, 'u', false, 5},          {0x016C, 'u', true, 7},
    {0x016D, 'u', false, 7},          {0x016E, 'u', true, 11},
    {0x016F, 'u', false, 11},         {0x0170, 'u', true, 12},
    {0x0171, 'u', false, 12},         {0x0172, 'u', true, 41},
    {0x0173, 'u', false, 41},         {0x0174, 'w', true, 3},
    {0x0175, 'w', false, 3},          {0x0176, 'y', true, 3},
    {0x0177, 'y', false, 3},          {0x0178, 'y', true, 9},
    {0x0179, 'z', true, 2},           {0x017A, 'z', false, 2},
    {0x017B, 'z', true, 8},           {0x017C, 'z', false, 8},
    {0x017D, 'z', true, 13},          {0x017E, 'z', false, 13},
    {0x017F, 's', false, kLongForm},  {0x01A0, 'o', true, 28},
    {0x01A1, 'o', false, 28},         {0x01AF, 'u', true, 28},
    {0x01B0, 'u', false, 28},         {0x01CD, 'a', true, 13},
    {0x01CE, 'a', false, 13},         {0x01CF, 'i', true, 13},
    {0x01D0, 'i', false, 13},         {0x01D1, 'o', true, 13},
    {0x01D2, 'o', false, 13},         {0x01D3, 'u', true, 13},
    {0x01D4, 'u', false, 13},         {0x01D5, 'u', true, 574},
    {0x01D6, 'u', false, 574},        {0x01D7, 'u', true, 235},
    {0x01D8, 'u', false, 235},        {0x01D9, 'u', true, 1478},
    {0x01DA, 'u', false, 1478},       {0x01DB, 'u', true, 122},
    {0x01DC, 'u', false, 122},        {0x01DE, 'a', true, 574},
    {0x01DF, 'a', false, 574},        {0x01E0, 'a', true, 573},
    {0x01E1, 'a', false, 573},        {0x01E6, 'g', true, 13},
    {0x01E7, 'g', false, 13},         {0x01E8, 'k', true, 13},
    {0x01E9, 'k', false, 13},         {0x01EA, 'o', true, 41},
    {0x01EB, 'o', false, 41},         {0x01EC, 'o', true, 606},
    {0x01ED, 'o', false, 606},        {0x01F0, 'j', false, 13},
    {0x01F4, 'g', true, 2},           {0x01F5, 'g', false, 2},
    {0x01F8, 'n', true, 1},           {0x01F9, 'n', false, 1},
    {0x01FA, 'a', true, 237},         {0x01FB, 'a', false, 237},
    {0x0200, 'a', true, 16},          {0x0201, 'a', false, 16},
    {0x0202, 'a', true, 18},          {0x0203, 'a', false, 18},
    {0x0204, 'e', true, 16},          {0x0205, 'e', false, 16},
    {0x0206, 'e', true, 18},          {0x0207, 'e', false, 18},
    {0x0208, 'i', true, 16},          {0x0209, 'i', false, 16},
    {0x020A, 'i', true, 18},          {0x020B, 'i', false, 18},
    {0x020C, 'o', true, 16},          {0x020D, 'o', false, 16},
    {0x020E, 'o', true, 18},          {0x020F, 'o', false, 18},
    {0x0210, 'r', true, 16},          {0x0211, 'r', false, 16},
    {0x0212, 'r', true, 18},          {0x0213, 'r', false, 18},
    {0x0214, 'u', true, 16},          {0x0215, 'u', false, 16},
    {0x0216, 'u', true, 18},          {0x0217, 'u', false, 18},
    {0x0218, 's', true, 39},          {0x0219, 's', false, 39},
    {0x021A, 't', true, 39},          {0x021B, 't', false, 39},
    {0x021E, 'h', true, 13},          {0x021F, 'h', false, 13},
    {0x0226, 'a', true, 8},           {0x0227, 'a', false, 8},
    {0x0228, 'e', true, 40},          {0x0229, 'e', false, 40},
    {0x022A, 'o', true, 574},         {0x022B, 'o', false, 574},
    {0x022C, 'o', true, 569},         {0x022D, 'o', false, 569},
    {0x022E, 'o', true, 8},           {0x022F, 'o', false, 8},
    {0x0230, 'o', true, 573},         {0x0231, 'o', false, 573},
    {0x0232, 'y', true, 5},           {0x0233, 'y', false, 5},
};

constexpr uint16_t kMarkBase = 0x2FF;
constexpr uint16_t kMarkRadix = 113;

}  // namespace

const LatinLetter* FindLatinLetter(char16_t code) {
  auto it = std::lower_bound(std::begin(kLetters), std::end(kLetters), code,
                             [](const LatinLetter& l, char16_t c) { return l.code < c; });
  if (it == std::end(kLetters) || it->code != code) return nullptr;
  return &*it;
}

uint16_t DiacriticWeight(uint16_t weight, char16_t mark) {
  const uint16_t value = static_cast<uint16_t>(mark - kMarkBase);
  if (weight == 0) return value;
  // Only two marks take part; further ones do not change the order.
  if (weight >= kMarkRadix) return weight;
  return static_cast<uint16_t>(weight + value * kMarkRadix);
}

}  // namespace platform::internal
