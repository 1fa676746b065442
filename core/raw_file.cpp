#include "core/raw_file.h"

#include "win/kernel.h"

HFILE OpenFile(const char* name, int mode) {
  if (!name) return HFILE_ERROR;
  int how = OF_READ;
  if (mode & 2)
    how = OF_READWRITE;
  else if (mode & 1)
    how = OF_WRITE;
  HFILE file = _lopen(name, how);
  return file == HFILE_ERROR ? HFILE_ERROR : file;
}

DWORD GetFileLength(HFILE handle) {
  LONG end = _llseek(handle, 0, SEEK_END);
  _llseek(handle, 0, SEEK_SET);
  return end < 0 ? 0 : static_cast<DWORD>(end);
}
