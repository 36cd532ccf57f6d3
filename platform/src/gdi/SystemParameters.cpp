// System colours and the system parameters about fonts and metrics.
#include <cstring>

#include "internal/NonClientMetrics.h"
#include "internal/StockObjects.h"
#include "internal/SystemColors.h"
#include "platform/display.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

using platform::internal::NonClientMetrics;
using platform::internal::StockObjects;
using platform::internal::SystemColors;

namespace {

constexpr UINT kMetricsSizeWithoutPadding = 500;

BOOL nonClientMetrics(UINT size, PVOID data) {
  auto* out = static_cast<NONCLIENTMETRICSW*>(data);
  if (!out ||
      (out->cbSize != sizeof(NONCLIENTMETRICSW) && out->cbSize != kMetricsSizeWithoutPadding) ||
      (size != 0 && size != out->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  UINT cbSize = out->cbSize;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = cbSize;
  metrics.iBorderWidth = 1;
  metrics.iScrollWidth = NonClientMetrics::metric(SM_CXVSCROLL);
  metrics.iScrollHeight = NonClientMetrics::metric(SM_CYHSCROLL);
  metrics.iCaptionWidth = NonClientMetrics::metric(SM_CXSIZE);
  metrics.iCaptionHeight = NonClientMetrics::metric(SM_CYSIZE);
  metrics.lfCaptionFont = SystemColors::captionFont();
  metrics.iSmCaptionWidth = NonClientMetrics::metric(SM_CXSMSIZE);
  metrics.iSmCaptionHeight = NonClientMetrics::metric(SM_CYSMSIZE);
  metrics.lfSmCaptionFont = SystemColors::captionFont();
  metrics.iMenuWidth = NonClientMetrics::metric(SM_CXMENUSIZE);
  metrics.iMenuHeight = NonClientMetrics::metric(SM_CYMENUSIZE);
  metrics.lfMenuFont = SystemColors::messageFont();
  metrics.lfStatusFont = SystemColors::messageFont();
  metrics.lfMessageFont = SystemColors::messageFont();
  metrics.iPaddedBorderWidth = NonClientMetrics::metric(SM_CXPADDEDBORDER);
  std::memcpy(out, &metrics, cbSize);
  return TRUE;
}

}  // namespace

DWORD GetSysColor(int index) {
  COLORREF color = SystemColors::color(index);
  return color == CLR_INVALID ? 0 : color;
}

HBRUSH GetSysColorBrush(int index) {
  return StockObjects::systemColorBrush(index);
}

BOOL SystemParametersInfoW(UINT action, UINT param, PVOID data, UINT) {
  switch (action) {
    case SPI_GETNONCLIENTMETRICS:
      return nonClientMetrics(param, data);
    case SPI_GETWORKAREA: {
      auto* rect = static_cast<RECT*>(data);
      if (!rect) break;
      SIZE screen = platform::CurrentDisplay().screenSize();
      *rect = RECT{0, 0, screen.cx, screen.cy};
      return TRUE;
    }
    case SPI_GETICONTITLELOGFONT: {
      auto* font = static_cast<LOGFONTW*>(data);
      if (!font) break;
      *font = SystemColors::messageFont();
      return TRUE;
    }
    case SPI_GETFONTSMOOTHING:
    case SPI_GETKEYBOARDCUES: {
      auto* flag = static_cast<BOOL*>(data);
      if (!flag) break;
      *flag = TRUE;
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
