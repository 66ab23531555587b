// Data files on Windows: names in the ANSI code page, opened with the ANSI call for
// shared reading, and kept only when the handle is a file on a disk (a folder does not
// open; a pipe, console or port is refused).
#include <windows.h>

#include "platform/data_file.h"

namespace {
HANDLE Handle(const DataFile* file) { return reinterpret_cast<HANDLE>(file->handle); }
constexpr DWORD MostAtOnce = 1u << 30;  // bytes one ReadFile call is asked for
}  // namespace

bool OpenDataFile(const char* name, DataFile* file) {
  HANDLE handle =
      CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size) || size.QuadPart < 0) {
    CloseHandle(handle);
    return false;
  }
  *file = {reinterpret_cast<intptr_t>(handle), static_cast<uint64_t>(size.QuadPart), 0};
  return true;
}

bool ReadDataFile(DataFile* file, void* to, size_t count) {
  char* at = static_cast<char*>(to);
  while (count > 0) {
    DWORD got = 0;
    const DWORD asked = count < MostAtOnce ? static_cast<DWORD>(count) : MostAtOnce;
    if (!ReadFile(Handle(file), at, asked, &got, nullptr) || got == 0) return false;
    at += got;
    count -= got;
    file->position += got;
  }
  return true;
}

bool SkipDataFile(DataFile* file, uint64_t count) {
  if (count > file->size - file->position) return false;
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(file->position + count);
  if (!SetFilePointerEx(Handle(file), to, nullptr, FILE_BEGIN)) return false;
  file->position += count;
  return true;
}

void CloseDataFile(DataFile* file) {
  CloseHandle(Handle(file));
  file->handle = 0;
}

bool DataFileExists(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

bool IsWholePath(const char* name) {
  const bool drive = ((name[0] | 0x20) >= 'a' && (name[0] | 0x20) <= 'z') && name[1] == ':';
  return drive || name[0] == '\\' || name[0] == '/';
}
