// The one-shot routing of the language's Load and Unload statements applied
// to a control array element: the compiled code arms one of two flags and
// then calls the array's Item with the index; Item clears both flags and
// loads or unloads the element instead of returning it.
//
// The flags belong to the calling thread; an Item call that finds neither
// set returns the element as usual.
#pragma once

#include "platform/types.h"

namespace rt {

class ControlArray;

enum class ArrayRoute { None, LoadElement, UnloadElement };

void ArmArrayLoad();
void ArmArrayUnload();
// The armed route (None when neither flag is set); clears both flags.
ArrayRoute TakeArrayRoute();

// What the compiled code does for `Load array(index)` and
// `Unload array(index)`: arm the flag, call Item.
HRESULT LoadArrayElement(ControlArray& array, LONG index);
HRESULT UnloadArrayElement(ControlArray& array, LONG index);

}  // namespace rt
