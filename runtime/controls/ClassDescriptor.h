// What the generic dispatch operations know about a class: its name, its
// initialisation and termination routines and its class interface id.
#pragma once

#include <string_view>

#include "platform/types.h"

namespace rt {

struct ClassDescriptor {
  std::u16string_view name;
  // Run once per object before its first member call; null: the class
  // cannot be initialised and every member call fails with E_FAIL.
  HRESULT (*initialise)() = nullptr;
  void (*terminate)() = nullptr;
  IID classId{};
};

// The initialisation of the runtime's own classes: they need nothing beyond
// their field initialisers, so it only succeeds.
HRESULT InitialiseRuntimeClass();

}  // namespace rt
