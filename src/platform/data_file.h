// Reading the data files: one road for the pictures and the sounds. A name is the bytes
// it is (on Windows in the ANSI code page); only a regular file is opened, decided without
// waiting on whatever else may bear the name; every read is checked and nothing throws.
#pragma once

#include <cstddef>
#include <cstdint>

struct DataFile {
  intptr_t handle;    // the system's: a descriptor on Linux, a HANDLE on Windows
  uint64_t size;      // bytes, when opened
  uint64_t position;  // bytes from the start
};

// Opens a regular file for reading; false when it is missing or unreadable, and for a
// folder, pipe, socket or device of that name.
bool OpenDataFile(const char* name, DataFile* file);
// Reads exactly `count` bytes from the position on; false when fewer arrive.
bool ReadDataFile(DataFile* file, void* to, size_t count);
// Moves the position on by `count` bytes; false past the end or when the system refuses.
bool SkipDataFile(DataFile* file, uint64_t count);
void CloseDataFile(DataFile* file);
// Whether anything at all bears the name.
bool DataFileExists(const char* name);
// Whether the name is a whole path rather than one from the current folder.
bool IsWholePath(const char* name);

// The whole file in a buffer of malloc's that the caller frees, and its size; null when
// it can't be opened or read, is empty, or holds more than `maxBytes`.
uint8_t* ReadWholeDataFile(const char* name, uint64_t maxBytes, size_t* size);
