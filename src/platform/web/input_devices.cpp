// The keyboard and mouse in the browser: key events by KeyboardEvent.code into the key
// table, and pointer-lock movement counts, both while the page has the focus. The first
// click takes the pointer lock; the first click or key also lets the page's sound start.
#include "platform/input_devices.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/web/key_codes.h"

namespace {
bool opened = false;
bool keyboardOn = false;
bool mouseOn = false;
uint8_t keys[KeyTableSize] = {};
int32_t movedX = 0;  // counts since the last read
int32_t movedY = 0;
const char* const Canvas = "#canvas";

// Asked for inside the click's own handler, as browsers require; a refusal is no error.
// The page's JavaScript, kept as written (clang-format would break its operators).
// clang-format off
EM_JS(void, AskForPointerLock, (), {
  var canvas = Module["canvas"];
  if (document.pointerLockElement === canvas || !canvas.requestPointerLock) return;
  var asked = canvas.requestPointerLock();
  if (asked && asked.catch) asked.catch(function () {});
});

EM_JS(int, PointerLocked, (), { return document.pointerLockElement === Module["canvas"] ? 1 : 0; });
// clang-format on

// Keys the page itself must not act on while they drive the scene.
bool KeepFromPage(const EmscriptenKeyboardEvent* event) {
  return KeyCodeOfPosition(event->code) != 0 && !event->ctrlKey && !event->metaKey;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void*) {
  uint8_t key = KeyCodeOfPosition(event->code);
  if (key != 0 && keyboardOn) keys[key] = type == EMSCRIPTEN_EVENT_KEYDOWN ? KeyDownBit : 0;
  return keyboardOn && KeepFromPage(event);
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent*, void*) {
  if (mouseOn) AskForPointerLock();
  return EM_FALSE;
}

EM_BOOL OnMouseMove(int, const EmscriptenMouseEvent* event, void*) {
  if (!mouseOn || !PointerLocked()) return EM_FALSE;
  movedX += event->movementX;
  movedY += event->movementY;
  return EM_TRUE;
}

// Keys held when the page loses the focus are let go: their key-up goes elsewhere.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
  std::memset(keys, 0, sizeof keys);
  return EM_FALSE;
}

void Listen() {
  const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(page, nullptr, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(page, nullptr, EM_TRUE, OnKey);
  emscripten_set_blur_callback(page, nullptr, EM_TRUE, OnBlur);
  emscripten_set_mousedown_callback(Canvas, nullptr, EM_TRUE, OnMouseDown);
  emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnMouseMove);
}
}  // namespace

bool OpenInputSystem() {
  if (!opened) Listen();
  opened = true;
  return true;
}

// The browser keeps both devices: nothing to make, share or set.
bool CreateKeyboardDevice() { return opened; }
bool ShareKeyboardInBackground() { return opened; }
bool SetKeyboardFormat() { return opened; }

bool AcquireKeyboard() {
  keyboardOn = opened;
  return keyboardOn;
}

bool CreateMouseDevice() { return opened; }
bool ShareMouseInBackground() { return opened; }
bool SetMouseFormat() { return opened; }

bool AcquireMouse() {
  mouseOn = opened;
  movedX = movedY = 0;
  return mouseOn;
}

bool ReadKeyboardState(uint8_t table[KeyTableSize]) {
  if (!keyboardOn) return false;
  std::memcpy(table, keys, sizeof keys);
  return true;
}

bool ReadMouseState(MouseState* state) {
  *state = {};
  if (!mouseOn) return false;
  state->lX = movedX;
  state->lY = movedY;
  movedX = movedY = 0;
  return true;
}

void ReleaseMouseDevice() { mouseOn = false; }

void ReleaseKeyboardDevice() {
  keyboardOn = false;
  std::memset(keys, 0, sizeof keys);
}

void CloseInputSystem() {
  if (opened) emscripten_html5_remove_all_event_listeners();
  opened = false;
}
