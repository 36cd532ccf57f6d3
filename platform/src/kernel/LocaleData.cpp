#include "internal/LocaleData.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/kernel.h"
#include "platform/locale.h"

namespace platform::internal {
namespace {

constexpr LocaleData kLocales[] = {
    {0x0409, "en-US", "en_US", u'.', u',', u'/', u':', u',', 6, 0, u"M/d/yyyy",
     u"dddd, MMMM d, yyyy", u"h:mm:ss tt", u"AM", u"PM", u"$", u"English"},
    {0x0809, "en-GB", "en_GB", u'.', u',', u'/', u':', u',', 0, 0, u"dd/MM/yyyy", u"dd MMMM yyyy",
     u"HH:mm:ss", u"AM", u"PM", u"\u00A3", u"English"},
    {0x0C09, "en-AU", "en_AU", u'.', u',', u'/', u':', u',', 0, 0, u"d/MM/yyyy",
     u"dddd, d MMMM yyyy", u"h:mm:ss tt", u"AM", u"PM", u"$", u"English"},
    {0x0407, "de-DE", "de_DE", u',', u'.', u'.', u':', u';', 0, 2, u"dd.MM.yyyy",
     u"dddd, d. MMMM yyyy", u"HH:mm:ss", u"", u"", u"\u20AC", u"German"},
    {0x040C, "fr-FR", "fr_FR", u',', u'\u00A0', u'/', u':', u';', 0, 2, u"dd/MM/yyyy",
     u"dddd d MMMM yyyy", u"HH:mm:ss", u"", u"", u"\u20AC", u"French"},
};

std::atomic<LCID> g_override{0};

LCID environmentLcid() {
  static const LCID lcid = [] {
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
      const char* value = std::getenv(var);
      if (value && *value) return LcidFromPosixName(value);
    }
    return static_cast<LCID>(0x0409);
  }();
  return lcid;
}

}  // namespace

LCID ResolveLcid(LCID lcid) {
  if (lcid == 0 || lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT) {
    return GetUserDefaultLCID();
  }
  return lcid;
}

const LocaleData* FindLocaleData(LCID lcid) {
  lcid = ResolveLcid(lcid);
  if (lcid == LOCALE_INVARIANT) lcid = 0x0409;
  for (const LocaleData& data : kLocales) {
    if (data.lcid == (lcid & 0xFFFF)) return &data;
  }
  return nullptr;
}

const LocaleData& LocaleDataFor(LCID lcid) {
  const LocaleData* data = FindLocaleData(lcid);
  return data ? *data : kLocales[0];
}

}  // namespace platform::internal

namespace platform {

void SetUserLocaleOverride(LCID lcid) {
  internal::g_override.store(lcid);
}

LCID LcidFromPosixName(const char* name) {
  if (!name) return 0x0409;
  for (const internal::LocaleData& data : internal::kLocales) {
    size_t n = std::strlen(data.posixPrefix);
    if (std::strncmp(name, data.posixPrefix, n) == 0) return data.lcid;
  }
  // Same language, other region: the first locale of that language.
  for (const internal::LocaleData& data : internal::kLocales) {
    if (std::strncmp(name, data.posixPrefix, 2) == 0 && name[2] == '_') return data.lcid;
  }
  return 0x0409;
}

}  // namespace platform

LCID GetUserDefaultLCID() {
  LCID over = platform::internal::g_override.load();
  return over ? over : platform::internal::environmentLcid();
}

LCID GetSystemDefaultLCID() {
  return GetUserDefaultLCID();
}

LCID GetThreadLocale() {
  return GetUserDefaultLCID();
}
