#include "runtime/forms/Diagnostics.h"

#include <cstdio>
#include <string>

namespace rt {
namespace {

thread_local DiagnosticHook hook;
thread_local bool traceOn = false;

std::string Hex(uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

}  // namespace

void SetDiagnosticHook(DiagnosticHook newHook) {
  hook = std::move(newHook);
}
void SetTraceEnabled(bool on) {
  traceOn = on;
}
bool TraceEnabled() {
  return traceOn && hook;
}

void Diagnostic(std::string_view line) {
  if (hook) hook(line);
}

void TraceMessage(std::string_view label, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!TraceEnabled()) return;
  Diagnostic(std::string(label) + " msg=" + Hex(msg) + " wp=" + Hex(wParam) +
             " lp=" + Hex(static_cast<uintptr_t>(lParam)));
}

void TraceResult(std::string_view label, LRESULT result) {
  if (!TraceEnabled()) return;
  Diagnostic(std::string(label) + " result=" + Hex(static_cast<uintptr_t>(result)));
}

void TraceCheckpoint(std::string_view label, int number) {
  if (!TraceEnabled()) return;
  Diagnostic(std::string(label) + "(" + std::to_string(number) + ")");
}

void DiagnosticWarning(std::string_view text, uint32_t colour) {
  // The console colour travels with the text so a hook can show it.
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "[#%06X] ", colour & 0xFFFFFF);
  Diagnostic(std::string(prefix) + std::string(text));
}

}  // namespace rt
