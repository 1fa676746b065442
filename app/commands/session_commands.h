// The commands that do more than move through objects: connecting to the
// data source (with the login dialog unless auto-login is set), searching,
// changing the language preference, and quitting.
#pragma once

#include "app/commands/command.h"
#include "mfc/cstring.h"

class ConnectCommand : public Command {
 public:
  ConnectCommand(const CString& login, const CString& password, int autologin)
      : login(login), password(password), autologin(autologin) {}
  int GetType() const override { return kCommandConnect; }
  BOOL IsNavigation() const override { return TRUE; }
  BOOL Execute() override;

  CString login;
  CString password;
  CString location;
  int autologin;
};

class SearchCommand : public NavigationCommand {
 public:
  // Mode 0 searches titles, keywords and attributes; any other mode the
  // full text. Without an expression the search dialog asks for one.
  explicit SearchCommand(int mode, const CString& expression = CString())
      : mode(mode), expression(expression) {}
  int GetType() const override { return kCommandSearch; }
  BOOL Execute() override;
  static BOOL IsEnabled() { return TRUE; }

  int mode;
  CString expression;
};

class LanguageCommand : public Command {
 public:
  // Asks in the Language Options dialog.
  LanguageCommand() = default;
  // One language code (it becomes the most preferred) or a whole order.
  explicit LanguageCommand(const CString& code) : mode(1), code(code) {}
  int GetType() const override { return kCommandLanguage; }
  BOOL Execute() override;

  int mode = 0;
  CString code;
};

class QuitCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandQuit; }
  BOOL Execute() override;
};

// The texts of the connect command's message boxes.
inline constexpr const char* kConnectionFailedText = "Connection failed";
inline constexpr const char* kCannotIdentifyText = "Cannot identify";
