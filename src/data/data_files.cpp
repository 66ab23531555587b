// Data file lookup: the current directory first, then the installed data folder.
#include "data/data_files.h"

#include <filesystem>

#include "platform/program_folder.h"

// The data folder as seen from the program's folder; the build sets it from the
// install layout.
#ifndef QUARNHOLT_DATA_FROM_BIN
#define QUARNHOLT_DATA_FROM_BIN "../share/quarnholt"
#endif

std::string FindDataFile(const char* name) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::exists(name, error)) return name;
  const std::string folder = ProgramFolder();
  if (folder.empty()) return name;
  const fs::path installed = (fs::path(folder) / QUARNHOLT_DATA_FROM_BIN / name).lexically_normal();
  return fs::exists(installed, error) ? installed.string() : name;
}
