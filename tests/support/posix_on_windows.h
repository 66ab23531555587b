// The environment calls of POSIX that the tests use, for the Windows build (its C
// runtime has no setenv); included before every test source there.
#pragma once

#include <cstdlib>

inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
