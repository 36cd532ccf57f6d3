#include "runtime/forms/WindowCreation.h"

#include <atomic>
#include <cmath>
#include <mutex>

#include "platform/gdi.h"
#include "platform/kernel.h"
#include "runtime/forms/CommonHandler.h"
#include "runtime/forms/Diagnostics.h"
#include "runtime/forms/EngineContext.h"
#include "runtime/forms/EngineControl.h"
#include "runtime/forms/SinkSnapshot.h"
#include "runtime/forms/internal/FormInternals.h"
#include "runtime/forms/internal/Procedures.h"

namespace rt {
namespace {

enum class ClassKind { Form, Control, PictureBox, Bubble, Main };

struct ClassEntry {
  const char16_t* name;
  const char16_t* base;  // null: a class of its own
  UINT style;
  ClassKind kind;
  const char* label;  // trace label of the procedure
  int background;     // system colour + 1 for own classes, 0 for none
  bool arrow;         // own classes: the arrow cursor
};

// Registered in this order.
constexpr ClassEntry Classes[] = {
    {u"BrammelFormDC", nullptr, 0x28, ClassKind::Form, "BrammelForm/UserControl", 0, true},
    {u"BrammelForm", nullptr, 0x08, ClassKind::Form, "BrammelForm/UserControl", 0, true},
    {u"BrammelMDIForm", nullptr, 0x08, ClassKind::Form, "BrammelForm/UserControl", COLOR_WINDOW + 1,
     true},
    {u"BrammelUserControlDC", nullptr, 0x28, ClassKind::Form, "BrammelForm/UserControl", 0, true},
    {u"BrammelUserControl", nullptr, 0x08, ClassKind::Form, "BrammelForm/UserControl", 0, true},
    {u"BrammelCommandButton", u"BUTTON", 0x03, ClassKind::Control, "BrammelButton", 0, false},
    {u"BrammelCheckBox", u"BUTTON", 0x0B, ClassKind::Control, "BrammelCheckBox", 0, false},
    {u"BrammelFrame", u"BUTTON", 0x0B, ClassKind::Control, "BrammelFrame", 0, false},
    {u"BrammelOptionButton", u"BUTTON", 0x0B, ClassKind::Control, "BrammelOptionButton", 0, false},
    {u"BrammelHSrollBar", u"SCROLLBAR", 0x0B, ClassKind::Control, "BrammelHScrollBar", 0, false},
    {u"BrammelVSrollBar", u"SCROLLBAR", 0x0B, ClassKind::Control, "BrammelVScrollBar", 0, false},
    {u"BrammelListBox", u"LISTBOX", 0x0B, ClassKind::Control, "BrammelListBox", 0, false},
    {u"BrammelComboBox", u"COMBOBOX", 0x0B, ClassKind::Control, "BrammelComboBox", 0, false},
    {u"BrammelTextBox", u"EDIT", 0x0B, ClassKind::Control, "BrammelTextBox", 0, false},
    {u"BrammelLabel", u"STATIC", 0x0B, ClassKind::Control, "BrammelLabel", 0, false},
    {u"BrammelImage", u"STATIC", 0x0B, ClassKind::Control, "BrammelImage", 0, false},
    {u"BrammelPictureBox", u"STATIC", 0x08, ClassKind::PictureBox, "BrammelPictureBox", 0, false},
    {u"BrammelPictureBoxDC", u"STATIC", 0x28, ClassKind::PictureBox, "BrammelPictureBox", 0, false},
    {u"BrammelGenericControl", u"STATIC", 0x0B, ClassKind::Control, "BrammelGenericControl", 0,
     false},
    {u"BrammelWebViewControl", u"STATIC", 0x0B, ClassKind::Control, "BrammelGenericWebView", 0,
     false},
    {u"BrammelTreeView", u"SysTreeView32", 0x0B, ClassKind::Control, "BrammelTreeView", 0, false},
    {u"BrammelListView", u"SysListView32", 0x0B, ClassKind::Control, "BrammelListView", 0, false},
    {u"NxBubbleRT6", nullptr, 0x800, ClassKind::Bubble, "BrammelTooltip", COLOR_INFOBK + 1, false},
    {u"BrammelRT6Main", nullptr, 0, ClassKind::Main, "", 0, false},
};
constexpr size_t ClassCount = std::size(Classes);

// The base class procedure of each superclass, saved at registration.
WNDPROC baseProcs[ClassCount] = {};

template <size_t I>
LRESULT SuperclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return ControlProcedure(Classes[I].label, baseProcs[I], hwnd, msg, wParam, lParam);
}

template <size_t... I>
constexpr auto MakeSuperclassProcs(std::index_sequence<I...>) {
  return std::array<WNDPROC, sizeof...(I)>{&SuperclassProc<I>...};
}
constexpr auto superclassProcs = MakeSuperclassProcs(std::make_index_sequence<ClassCount>());

WNDPROC ProcedureOf(size_t index) {
  switch (Classes[index].kind) {
    case ClassKind::Form:
      return FormProcedure;
    case ClassKind::Control:
    case ClassKind::PictureBox:
      return superclassProcs[index];
    case ClassKind::Bubble:
      return BubbleProcedure;
    case ClassKind::Main:
      return HiddenWindowProcedure;
  }
  return DefWindowProcW;
}

bool RegisterEngineClass(size_t index, HINSTANCE instance) {
  const ClassEntry& entry = Classes[index];
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (entry.base) {
    if (!GetClassInfoExW(nullptr, reinterpret_cast<LPCWSTR>(entry.base), &wc)) return false;
    // A picture box takes the static class's information but its unhandled
    // messages go to the system default procedure.
    baseProcs[index] = entry.kind == ClassKind::PictureBox ? DefWindowProcW : wc.lpfnWndProc;
  } else {
    baseProcs[index] = DefWindowProcW;
    wc.hCursor = entry.arrow ? LoadCursorW(nullptr, IDC_ARROW) : nullptr;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<intptr_t>(entry.background));
  }
  wc.style = entry.style;
  wc.lpfnWndProc = ProcedureOf(index);
  wc.hInstance = instance;
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(entry.name);
  return RegisterClassExW(&wc) != 0;
}

// Optional entry points; null when the platform lacks them.
using SetProcessDpiAwarenessFn = HRESULT (*)(int);
SetProcessDpiAwarenessFn setProcessDpiAwareness = nullptr;
FARPROC adjustWindowRectExForDpi = nullptr;
FARPROC monitorFromWindow = nullptr;
FARPROC getMonitorInfoW = nullptr;

// This build asks for system DPI awareness and does not let a setting override it.
constexpr int BuildDpiAwareness = 1;
constexpr int BuildDpiOverride = 0;

void FindOptionalEntryPoints() {
  if (HMODULE shcore = LoadLibraryA("shcore")) {
    setProcessDpiAwareness = reinterpret_cast<SetProcessDpiAwarenessFn>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "SetProcessDpiAwareness")));
    (void)GetProcAddress(shcore, "GetDpiForMonitor");
    (void)GetProcAddress(shcore, "GetProcessDpiAwareness");
  }
  if (BuildDpiAwareness != 0 && BuildDpiOverride == 0 && setProcessDpiAwareness) {
    setProcessDpiAwareness(BuildDpiAwareness);
  }
}

void FindUserEntryPoints() {
  HMODULE user32 = LoadLibraryA("user32");
  if (!user32) return;
  (void)GetProcAddress(user32, "IsProcessDPIAware");
  adjustWindowRectExForDpi = GetProcAddress(user32, "AdjustWindowRectExForDpi");
  monitorFromWindow = GetProcAddress(user32, "MonitorFromWindow");
  getMonitorInfoW = GetProcAddress(user32, "GetMonitorInfoW");
}

// Screen metrics are process-wide, guarded by a spin lock.
std::atomic<int> metricsLock{0};
ScreenMetrics metrics;

class MetricsLock {
 public:
  MetricsLock() {
    int expected = 0;
    while (!metricsLock.compare_exchange_strong(expected, 1)) {
      expected = 0;
      Sleep(10);
    }
  }
  ~MetricsLock() { metricsLock.store(0); }
};

constexpr int CursorIds[19] = {32512, 32512, 32515, 32513, 32641, 32640, 32643, 32645, 32642, 32644,
                               32516, 32514, 32648, 32650, 32651, 32646, 32649, 32671, 32672};
HCURSOR cursorTable[19] = {};
std::unique_ptr<void*[]> slots768;
std::once_flag startOnce;
HRESULT startStatus = S_OK;

void StartOnce() {
  FindOptionalEntryPoints();
  if (CurrentScreenMetrics().twipsPerPixelX == 0) RefreshScreenMetrics();
  FindUserEntryPoints();
  HINSTANCE instance = EngineInstance();
  for (size_t i = 0; i < ClassCount; ++i) {
    if (RegisterEngineClass(i, instance)) continue;
    // A superclass of a system class this platform lacks (the tree and list
    // views) stays unregistered; nothing of the engine's own may fail.
    if (!Classes[i].base) startStatus = E_FAIL;
  }
  for (int i = 0; i < 19; ++i) {
    cursorTable[i] = LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(CursorIds[i])));
  }
  slots768 = std::make_unique<void*[]>(768);
}

}  // namespace

HINSTANCE EngineInstance() {
  return reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr));
}

HRESULT StartEngine(std::span<const uint8_t> designBlob) {
  std::call_once(startOnce, StartOnce);
  if (FAILED(startStatus)) return startStatus;
  if (designBlob.empty()) return S_OK;
  return InstallDesignBlob(designBlob);
}

HRESULT StartFormsEngine(const BYTE* blob, size_t size) {
  if (!blob) size = 0;
  return StartEngine(std::span<const uint8_t>(blob, size));
}

void RefreshScreenMetrics() {
  MetricsLock lock;
  metrics.widthPixels = GetSystemMetrics(SM_CXSCREEN);
  metrics.heightPixels = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  metrics.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  metrics.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (metrics.dpiX <= 0) metrics.dpiX = 96;
  if (metrics.dpiY <= 0) metrics.dpiY = 96;
  metrics.twipsPerPixelX = 1440.0 / metrics.dpiX;
  metrics.twipsPerPixelY = 1440.0 / metrics.dpiY;
  metrics.widthTwips = metrics.widthPixels * metrics.twipsPerPixelX;
  metrics.heightTwips = metrics.heightPixels * metrics.twipsPerPixelY;
  metrics.unitsX = {0, 1.0 / 15, 4.0 / 3, 1, 8, 96, 96 / 25.4, 96 / 2.54, 96 / 2540.0};
  metrics.unitsY = {0, 1.0 / 15, 4.0 / 3, 1, 16, 96, 96 / 25.4, 96 / 2.54, 96 / 2540.0};
}

ScreenMetrics CurrentScreenMetrics() {
  MetricsLock lock;
  return metrics;
}

HCURSOR CursorForMousePointer(int mousePointer) {
  if (mousePointer < 0 || mousePointer >= 19) mousePointer = 0;
  if (!cursorTable[mousePointer]) {
    return LoadCursorW(nullptr, MAKEINTRESOURCEW(static_cast<WORD>(CursorIds[mousePointer])));
  }
  return cursorTable[mousePointer];
}

int RoundLayout(double value) {
  return static_cast<int>(value < 0 ? value - 0.4999 : value + 0.4999);
}

bool HaveAdjustWindowRectExForDpi() {
  return adjustWindowRectExForDpi != nullptr;
}

void RemoveTheme(HWND hwnd) {
  HMODULE theme = LoadLibraryA("UxTheme.dll");
  if (!theme) return;
  using SetWindowThemeFn = HRESULT (*)(HWND, LPCWSTR, LPCWSTR);
  auto setTheme = reinterpret_cast<SetWindowThemeFn>(
      reinterpret_cast<void*>(GetProcAddress(theme, "SetWindowTheme")));
  if (setTheme) setTheme(hwnd, u"", u"");
  FreeLibrary(theme);
}

HRESULT EnsureHiddenWindow() {
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.hiddenWindow && IsWindow(ctx.hiddenWindow)) return S_OK;
  StartEngine();
  const DWORD exStyle = ctx.noActivate ? 0x8000080 : 0x80;
  ctx.hiddenWindow = CreateWindowExW(exStyle, u"BrammelRT6Main", u"Plumbridge", 0x94000000, 0, 0, 0,
                                     0, nullptr, nullptr, EngineInstance(), nullptr);
  if (!ctx.hiddenWindow) {
    MessageBoxW(nullptr, u"Failed to create window with class BrammelRT6Main.", u"", MB_OK);
    return E_FAIL;
  }
  if (!ctx.mainWindow) {
    ctx.mainWindow = FormState::Create(nullptr);
    ctx.mainWindow->isMainWindow = true;
    ctx.mainWindow->hidden = false;
  }
  ctx.mainWindow->windowHandle = ctx.hiddenWindow;
  return S_OK;
}

HWND ParkingWindow() {
  EngineContext& ctx = CurrentEngineContext();
  if (ctx.parkingWindow && IsWindow(ctx.parkingWindow)) return ctx.parkingWindow;
  ctx.parkingWindow = CreateWindowExW(0x08000080, u"STATIC", u"", 0x94000000, 0, 0, 0, 0, nullptr,
                                      nullptr, EngineInstance(), nullptr);
  return ctx.parkingWindow;
}

namespace {

bool IsFormRecord(const WindowRecord& record) {
  return record.control && !record.control->container;
}

HWND ChooseParent(WindowRecord& record, HWND parent) {
  if (parent) return parent;
  if (record.parked || (record.flags & wflag::CreatedAsChild)) return ParkingWindow();
  if (!IsFormRecord(record) && record.form) return record.form->windowHandle;
  EnsureHiddenWindow();
  return CurrentEngineContext().hiddenWindow;
}

int ToPixels(double value, double origin, double factor, int dpi) {
  if (factor == 0) factor = 15;
  double pixels = (value - origin) / factor;
  if (dpi != 96) pixels = pixels * dpi / 96.0;
  return RoundLayout(pixels);
}

void NotifyCreated(WindowRecord& record) {
  const SinkSnapshot sinks(record);
  for (const auto& sink : sinks)
    sink->windowCreated(record.hwnd);
}

}  // namespace

HRESULT CreateWindowForRecord(WindowRecord& record, FormState* loading, HWND parent) {
  StartEngine();
  EngineContext& ctx = CurrentEngineContext();
  if (record.flags & wflag::MdiChildForm) {
    // MDI children need an MDI parent form; this build has no MDI parent.
    if (!ctx.mdiClient) return E_FAIL;
  }
  if (record.className.empty()) {
    NotifyCreated(record);
    return S_OK;
  }
  const bool isForm = IsFormRecord(record) && !(record.flags & wflag::CreatedAsChild);
  const HWND parentWindow = ChooseParent(record, parent);
  const bool child = !isForm;
  const bool wantsVisible = (record.style & WS_VISIBLE) || record.visibleRequested;
  DWORD style = (record.style & ~WS_VISIBLE) | WS_CLIPSIBLINGS;
  if (child) style |= WS_CHILD;
  HMENU id = nullptr;
  if (child && record.form) {
    id = reinterpret_cast<HMENU>(static_cast<uintptr_t>(record.form->controlIdCounter++));
  }
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = 0, height = 0;
  if (!loading && record.control) {
    const ControlRecord& control = *record.control;
    const Scale& scale = control.outerScale;
    const int dpi = control.placement.formDpi;
    x = ToPixels(control.placement.left, scale.originX, scale.factorX, dpi);
    y = ToPixels(control.placement.top, scale.originY, scale.factorY, dpi);
    width = ToPixels(control.placement.width, 0, scale.factorX, dpi);
    height = ToPixels(control.placement.height, 0, scale.factorY, dpi);
  }
  HWND hwnd = CreateWindowExW(record.exStyle, reinterpret_cast<LPCWSTR>(record.className.c_str()),
                              reinterpret_cast<LPCWSTR>(record.text.c_str()), style, x, y, width,
                              height, parentWindow, id, EngineInstance(), &record);
  if (!hwnd) return E_FAIL;
  record.hwnd = hwnd;
  if (record.subclass) {
    SetClassLongPtrW(hwnd, GCL_STYLE,
                     static_cast<LONG_PTR>(GetClassLongPtrW(hwnd, GCL_STYLE) | CS_DBLCLKS));
    Subclass(record);
    if (!record.visualStyles) RemoveTheme(hwnd);
    NotifyCreated(record);
  }
  if (record.forceTabStop) {
    const LONG current = GetWindowLongW(hwnd, GWL_STYLE);
    if (!(current & WS_TABSTOP)) SetWindowLongW(hwnd, GWL_STYLE, current | WS_TABSTOP);
  }
  if (child && !record.parked && wantsVisible) ShowWindow(hwnd, SW_SHOW);
  return S_OK;
}

HRESULT EngineControl::createWindow(ControlRecord& record, HWND parent) {
  return CreateWindowForRecord(record.window, nullptr, parent);
}

}  // namespace rt
