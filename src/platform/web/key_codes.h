// The key table by key position on the web: KeyboardEvent.code names a key by its place
// on the keyboard, whatever the layout; each name has the key code of that place.
#pragma once

#include <cstdint>

// The key code (the DirectInput code of a US keyboard) of a KeyboardEvent.code, or 0 for
// a key the table does not hold.
uint8_t KeyCodeOfPosition(const char* code);
