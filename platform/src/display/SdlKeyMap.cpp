#include "internal/SdlKeyMap.h"

#include "platform/user.h"

namespace platform::internal {
namespace {

struct KeyPair {
  SDL_Keycode sdl;
  int virtualKey;
};

constexpr KeyPair kKeys[] = {
    {SDLK_RETURN, VK_RETURN},  {SDLK_KP_ENTER, VK_RETURN},  {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},          {SDLK_SPACE, VK_SPACE},
    {SDLK_LEFT, VK_LEFT},      {SDLK_RIGHT, VK_RIGHT},      {SDLK_UP, VK_UP},
    {SDLK_DOWN, VK_DOWN},      {SDLK_HOME, VK_HOME},        {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR},   {SDLK_PAGEDOWN, VK_NEXT},    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},  {SDLK_LSHIFT, VK_SHIFT},     {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},  {SDLK_RCTRL, VK_CONTROL},    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},      {SDLK_CAPSLOCK, VK_CAPITAL}, {SDLK_F1, VK_F1},
    {SDLK_F2, VK_F1 + 1},      {SDLK_F3, VK_F1 + 2},        {SDLK_F4, VK_F1 + 3},
    {SDLK_F5, VK_F1 + 4},      {SDLK_F6, VK_F1 + 5},        {SDLK_F7, VK_F1 + 6},
    {SDLK_F8, VK_F1 + 7},      {SDLK_F9, VK_F1 + 8},        {SDLK_F10, VK_F1 + 9},
    {SDLK_F11, VK_F1 + 10},    {SDLK_F12, VK_F1 + 11},
};

}  // namespace

int SdlKeyMap::virtualKeyOf(const SDL_Keysym& key) {
  SDL_Scancode code = key.scancode;
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  for (const KeyPair& pair : kKeys) {
    if (pair.sdl == key.sym) return pair.virtualKey;
  }
  return 0;
}

}  // namespace platform::internal
