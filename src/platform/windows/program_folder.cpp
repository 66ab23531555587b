// The running program's folder, from the path Windows loaded it from.
#include <windows.h>

#include "platform/program_folder.h"

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return "";  // none, or cut short
  std::string folder(path, length);
  size_t last = folder.find_last_of("\\/");
  return last == std::string::npos ? "" : folder.substr(0, last + 1);
}
