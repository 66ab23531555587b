// Where the running program's file lies, so that its installed files can be found.
#pragma once

#include <string>

// The folder of the running program, its separator at the end (on Linux read from
// /proc/self/exe); empty when the system cannot tell.
std::string ProgramFolder();
