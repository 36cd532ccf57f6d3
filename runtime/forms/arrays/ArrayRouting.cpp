#include "runtime/forms/arrays/ArrayRouting.h"

#include "runtime/forms/arrays/ControlArray.h"

namespace rt {

namespace {

struct RoutingFlags {
  bool load = false;
  bool unload = false;
};

RoutingFlags& Flags() {
  thread_local RoutingFlags flags;
  return flags;
}

}  // namespace

void ArmArrayLoad() {
  Flags().load = true;
}

void ArmArrayUnload() {
  Flags().unload = true;
}

ArrayRoute TakeArrayRoute() {
  RoutingFlags& flags = Flags();
  const ArrayRoute route = flags.load     ? ArrayRoute::LoadElement
                           : flags.unload ? ArrayRoute::UnloadElement
                                          : ArrayRoute::None;
  flags = {};
  return route;
}

HRESULT LoadArrayElement(ControlArray& array, LONG index) {
  ArmArrayLoad();
  ComPtr<IDispatch> ignored;
  return array.Item(index, &ignored);
}

HRESULT UnloadArrayElement(ControlArray& array, LONG index) {
  ArmArrayUnload();
  ComPtr<IDispatch> ignored;
  return array.Item(index, &ignored);
}

}  // namespace rt
