// Data file lookup: the current directory first, then the installed data folder. Names
// stay the bytes the system gave (on Windows, of the ANSI code page): joined, never converted.
#include "data/data_files.h"

#include <cstring>

#include "platform/data_file.h"
#include "platform/program_folder.h"

// The data folder as seen from the program's folder; the build sets it from the
// install layout.
#ifndef QUARNHOLT_DATA_FROM_BIN
#define QUARNHOLT_DATA_FROM_BIN "../share/quarnholt"
#endif

std::string FindDataFile(const char* name) {
  if (DataFileExists(name)) return name;
  std::string installed = ProgramFolder();  // ends in its separator
  if (installed.empty()) return name;
  if (std::strcmp(QUARNHOLT_DATA_FROM_BIN, ".") != 0) installed += QUARNHOLT_DATA_FROM_BIN "/";
  installed += name;
  return DataFileExists(installed.c_str()) ? installed : name;
}
