// The forms engine's per-thread context: the loaded forms, modal depth, the
// active form, the hidden application window, the handle map, focus
// tracking, the bubble tooltip and the MDI fields.
//
// One context per UI thread (thread-local). Only that thread touches it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/com.h"
#include "platform/user.h"
#include "runtime/forms/FormState.h"
#include "runtime/forms/HwndMap.h"

namespace rt {

class EngineControl;

struct EngineContext {
  EngineContext();
  ~EngineContext();
  EngineContext(const EngineContext&) = delete;
  EngineContext& operator=(const EngineContext&) = delete;

  // --- Registry of loaded forms -------------------------------------------
  FormState* loadedHead = nullptr;  // top-level forms in creation order
  FormState* loadedTail = nullptr;
  int32_t loadedCount = 0;
  int32_t modalDepth = 0;
  FormStateRef activeForm;                 // most recently activated (counted)
  FormState* mainWindow = nullptr;         // record of the hidden application window (owned)
  FormState* lastFocusForm = nullptr;      // not counted; cleared on destruction
  FormState* lastActivatedForm = nullptr;  // not counted; cleared on destruction
  // Open enumerations of the loaded-forms list: the node each stands on.
  // Destruction of that form advances them (references are counted).
  std::vector<FormStateRef*> enumerations;

  // The engine record of every form object that has one (counted).
  std::unordered_map<EngineControl*, FormState*> formsByObject;

  bool endInProgress = false;
  bool loadSuppressed = false;

  HwndMap hwndMap;

  // --- Windows of the engine ---------------------------------------------
  HWND hiddenWindow = nullptr;   // "BrammelRT6Main"
  HWND parkingWindow = nullptr;  // "STATIC" popup parking windows are created under
  bool noActivate = false;       // the engine's no-activate option

  // --- MDI -----------------------------------------------------------------
  HWND mdiClient = nullptr;
  HWND mdiFrame = nullptr;
  FormState* mdiForm = nullptr;

  // --- Focus tracking -------------------------------------------------------
  bool focusChanged = false;
  bool deactivationPending = false;
  int activateReposts = 0;
  int deactivateReposts = 0;
  // Windowless forms and user controls that had the focus inside them.
  std::vector<WindowRecord*> focusContainers;
  // The character a navigation key will produce, swallowed once (the key
  // down moved the focus; its character must not reach the new window).
  WPARAM swallowChar = 0;
  bool keyboardCuesDecided = false;
  bool keyboardCuesManaged = false;

  // --- Bubble tooltip -------------------------------------------------------
  HWND bubbleWindow = nullptr;
  std::u16string bubbleText;
  ControlRecord* bubbleControl = nullptr;  // cleared when its form is hidden or freed
  HWND bubbleFormWindow = nullptr;
  POINT bubbleArmedAt{0, 0};
  bool bubbleVisible = false;
  HWND lastMouseWindow = nullptr;

  // --- Timers of windowless forms -------------------------------------------
  // The timer object the closure of the current thread timer stands for.
  EngineControl* currentTimerObject = nullptr;
};

// The calling thread's context (created on first use).
EngineContext& CurrentEngineContext();
// Destroys the calling thread's engine windows and resets the context
// (tests, and the end of the program).
void ResetEngineContext();

}  // namespace rt
