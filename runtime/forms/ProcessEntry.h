// The process entry: prepares the runtime's process-wide services, runs the
// compiled modules' initialisers, starts the forms engine with the program's
// design, creates and shows the start-up object, pumps messages until the
// last form has gone, runs the terminators and ends with exit code 0 — also
// after an unhandled run-time error.
//
// The executable describes its program (modules, design, start-up object)
// in a ProgramImage and returns what RunProcessEntry returns from main.
#pragma once

#include <array>
#include <cstddef>

#include "platform/com.h"
#include "platform/oleauto.h"

namespace rt {

// A module initialiser or terminator: a compiled procedure without
// arguments; its status is ignored.
using ModuleProcedure = HRESULT (*)();
// The start-up form's creation procedure.
using CreateStartupObject = HRESULT (*)(IUnknown** object);

struct ProgramImage {
  // The compiled modules that have module-level data, in build order. The
  // entry runs A, B, C, D, then C twice more, and the terminators in the
  // same order. A null procedure is skipped.
  std::array<ModuleProcedure, 4> initialisers{};
  std::array<ModuleProcedure, 4> terminators{};
  // The compressed design data (null when the program has none).
  const BYTE* design = nullptr;
  size_t designSize = 0;
  // The forms engine's start-up with the design, and its main message loop
  // (returns when the last top-level form window is gone).
  HRESULT (*startFormsEngine)(const BYTE* design, size_t size) = nullptr;
  void (*runMainLoop)() = nullptr;
  CreateStartupObject createStartupObject = nullptr;
};

// Runs the whole program on the calling thread; returns the exit code, 0.
int RunProcessEntry(const ProgramImage& program);

// The main run: creates the start-up object, keeps it in `slot` (which
// holds it until the process ends), shows it by calling its "Show" method
// by name unless its start-up options say otherwise, and runs the main
// loop. A "Show" that fails is reported like an unhandled run-time error
// (the form could not load) and the loop then ends at once. Failures
// before the loop are returned; 0 after the loop.
HRESULT RunStartup(CreateStartupObject create, ComPtr<IUnknown>& slot, void (*runMainLoop)());

// The start-up options a start-up object may offer: bit 0 of the options
// word asks for a plain "Show".
inline constexpr IID IID_IStartupOptions{
    0x5927C4A9, 0xAB43, 0x461D, {0x92, 0x7B, 0x2C, 0x51, 0xD5, 0xBC, 0x89, 0x3C}};
// The engine's own way of showing a start-up object without "Show".
inline constexpr IID IID_IStartupShow{
    0xF90F2800, 0xD7B1, 0x4F62, {0x82, 0xE4, 0x8A, 0x1B, 0x52, 0xCA, 0x53, 0xE4}};
inline constexpr LONG kStartupOptionShow = 1;

struct IStartupOptions : IUnknown {
  virtual HRESULT reserved1() = 0;
  virtual HRESULT reserved2() = 0;
  // The options word (third member after the IUnknown members).
  virtual HRESULT getOptions(LONG* options) = 0;

 protected:
  ~IStartupOptions() = default;
};

// Process-wide values the entry sets once, during start-up.
struct ProcessValues {
  HANDLE heap = nullptr;
  HMODULE instance = nullptr;
  LCID userLocale = 0;
};
const ProcessValues& CurrentProcessValues();

}  // namespace rt

template <>
struct InterfaceId<rt::IStartupOptions> {
  static constexpr const IID& value = rt::IID_IStartupOptions;
};
