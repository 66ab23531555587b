// Reading the data files: what the systems share on top of their own opening and reading.
#include "platform/data_file.h"

#include <cstdlib>

uint8_t* ReadWholeDataFile(const char* name, uint64_t maxBytes, size_t* size) {
  DataFile file;
  if (!OpenDataFile(name, &file)) return nullptr;
  uint8_t* bytes = nullptr;
  if (file.size > 0 && file.size <= maxBytes && file.size <= SIZE_MAX) {
    bytes = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(file.size)));
  }
  if (bytes && !ReadDataFile(&file, bytes, static_cast<size_t>(file.size))) {
    std::free(bytes);
    bytes = nullptr;
  }
  *size = bytes ? static_cast<size_t>(file.size) : 0;
  CloseDataFile(&file);
  return bytes;
}
