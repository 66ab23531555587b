// Data files on POSIX systems (Linux, and the web page's in-memory folder): opened
// non-blocking, so that a FIFO or a device by the name never holds the program up, and
// kept only when fstat finds a regular file.
#include "platform/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
int Descriptor(const DataFile* file) { return static_cast<int>(file->handle); }
}  // namespace

bool OpenDataFile(const char* name, DataFile* file) {
  const int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status;
  // Only the opening is non-blocking: a regular file's reads wait for the disk as usual.
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0 ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return false;
  }
  *file = {fd, static_cast<uint64_t>(status.st_size), 0};
  return true;
}

bool ReadDataFile(DataFile* file, void* to, size_t count) {
  char* at = static_cast<char*>(to);
  while (count > 0) {
    const ssize_t got = read(Descriptor(file), at, count);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    count -= static_cast<size_t>(got);
    file->position += static_cast<uint64_t>(got);
  }
  return true;
}

bool SkipDataFile(DataFile* file, uint64_t count) {
  if (count > file->size - file->position || file->size > static_cast<uint64_t>(INT64_MAX)) return false;
  const off_t to = static_cast<off_t>(file->position + count);
  if (lseek(Descriptor(file), to, SEEK_SET) != to) return false;
  file->position += count;
  return true;
}

void CloseDataFile(DataFile* file) {
  close(Descriptor(file));
  file->handle = -1;
}

bool DataFileExists(const char* name) {
  struct stat status;
  return stat(name, &status) == 0;
}

bool IsWholePath(const char* name) { return name[0] == '/'; }
