#include "core/logbook.h"

#include <cstring>
#include <ctime>

#include "framework/app_services.h"
#include "framework/temp_files.h"
#include "win/kernel.h"
#include "win/user.h"

namespace {
bool gLogging = true;
}

Logbook::Logbook(int closeAfterWrite) : closeAfterWrite_(closeAfterWrite) {}

Logbook::~Logbook() { Close(); }

void Logbook::SetLogging(bool on) { gLogging = on; }
bool Logbook::Logging() { return gLogging; }

void Logbook::SetFileName(const char* name) {
  Close();
  toldWriteFailure_ = false;
  CString given(name);
  // No name means no file (texts then go to message boxes), not a file
  // named like the temporary directory itself.
  if (given.IsEmpty())
    fileName_.Empty();
  else if (given.FindOneOf("\\/:") < 0)
    fileName_ = GetTempDirectory().IsEmpty() ? CString() : GetTempDirectory() + given;
  else
    fileName_ = given;
}

void Logbook::Open() {
  if (!gLogging || file_ || fileName_.IsEmpty()) return;
  file_ = win_fopen(fileName_, "a");
  if (!file_) {
    // Reported once: with the name gone no further open is tried.
    CString message = CString("cannot open logbook ") + fileName_;
    fileName_.Empty();
    AppMessageBox(message, MB_OK);
  }
}

void Logbook::Close() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
}

void Logbook::Remove() {
  if (!gLogging) return;
  Close();
  if (!fileName_.IsEmpty()) DeleteFile(fileName_);
}

void Logbook::Write(const char* text) {
  if (!gLogging) return;
  if (!text) text = "";
  Open();
  if (file_) {
    std::fseek(file_, 0, SEEK_END);
    const bool written = std::fputs(text, file_) >= 0 && std::fputc('\n', file_) != EOF &&
                         std::fflush(file_) == 0;
    if (!written) {
      std::clearerr(file_);
      if (!toldWriteFailure_) {
        toldWriteFailure_ = true;
        AppMessageBox(CString("cannot write logbook ") + fileName_, MB_OK);
      }
    }
  } else {
    AppMessageBox(text, MB_OK);
  }
  if (closeAfterWrite_) Close();
}

CString Logbook::TimeStamp() {
  std::time_t now = std::time(nullptr);
  char buffer[64] = {};
  // ctime's text, as the logbooks of earlier versions show it.
  if (!ctime_r(&now, buffer)) return CString();
  size_t n = std::strlen(buffer);
  if (n > 0 && buffer[n - 1] == '\n') buffer[n - 1] = '\0';
  return CString(buffer);
}

void Logbook::WriteTimeStamp() {
  CString line = CString('=', 30) + " " + TimeStamp() + " " + CString('=', 5);
  Write(line);
}

Logbook& TheLogbook() {
  static Logbook logbook(0);
  return logbook;
}
