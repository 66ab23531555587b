// The running program's folder, through SDL (on Linux the link /proc/self/exe).
#include "platform/program_folder.h"

#include <SDL.h>

std::string ProgramFolder() {
  char* base = SDL_GetBasePath();
  if (!base) return "";
  std::string folder = base;
  SDL_free(base);
  return folder;
}
