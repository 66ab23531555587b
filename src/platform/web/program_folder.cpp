// In the browser the program has no folder of its own: the data files lie in the current one.
#include "platform/program_folder.h"

std::string ProgramFolder() { return ""; }
