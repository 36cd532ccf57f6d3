// The message loops of the forms thread.
//
// Pump is reentrant: a modal Show runs a nested Pump, which may run another
// modal Show, and so on. Each nested loop ends by its own condition (its form
// hidden and the queue empty); the outer loops resume where they were.
#pragma once

#include "platform/types.h"

namespace rt {

class FormState;

// modal null and singleMessage false: the main loop, until no form is loaded.
// modal set: the modal loop of that form, until it is hidden and the queue
// is empty. singleMessage: returns after the first message it dispatches.
void Pump(FormState* modal, bool singleMessage);
// The process entry's main loop: Pump(nullptr, false).
void RunMainLoop();
// The language's yield-to-events: handles every queued message and returns
// the number of loaded forms.
SHORT Yield();
// The plain pump of the form procedure after the context-help command.
void PlainPump();

}  // namespace rt
