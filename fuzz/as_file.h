// The fuzzer's bytes as a file, so that the readers take the road the program reads by:
// one file in memory, rewritten for each input, named through /proc/self/fd.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

inline const char* AsFile(const uint8_t* bytes, size_t size) {
  static const int fd = memfd_create("fuzz-input", 0);
  static const std::string name = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, bytes, size, 0) != static_cast<ssize_t>(size)) __builtin_trap();
  return name.c_str();
}
