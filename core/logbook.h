// The logbook: a plain text file to which the client appends one line per
// reported event. One global instance serves the program (TheLogbook());
// page scripts keep instances of their own. Logging can be switched off for
// all instances at once; the file of each run is started fresh at start-up.
#pragma once

#include <cstdio>

#include "mfc/cstring.h"

class Logbook {
 public:
  // With closeAfterWrite set the file is closed after every line and opened
  // again (appending) for the next.
  explicit Logbook(int closeAfterWrite = 0);
  ~Logbook();
  Logbook(const Logbook&) = delete;
  Logbook& operator=(const Logbook&) = delete;

  // Closes the file. A name without "\", "/" or ":" is placed in the
  // user's own temporary directory (no file when there is none).
  void SetFileName(const char* name);
  const CString& FileName() const { return fileName_; }
  void Close();
  // When logging is on: closes the file and deletes it.
  void Remove();
  // When logging is on: appends the text and "\n". Without a file the text is
  // shown in a message box instead. A line the file does not take (a full
  // disk, say) is told to the user once per file name, not once per line.
  void Write(const char* text);
  // A line of 30 "=", the time text and 5 "=".
  void WriteTimeStamp();
  bool IsOpen() const { return file_ != nullptr; }

  // The current time as ctime gives it, without the newline.
  static CString TimeStamp();

  // The process-wide switch shared by every logbook; on at start.
  static void SetLogging(bool on);
  static bool Logging();

 private:
  void Open();

  CString fileName_;
  FILE* file_ = nullptr;
  int closeAfterWrite_;
  bool toldWriteFailure_ = false;
};

// The program's logbook (close-after-write 0), made on first use.
Logbook& TheLogbook();
