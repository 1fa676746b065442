// An invisible page object that runs one line of the command interpreter
// when it starts: a page can go on to another collection, or switch the
// sound, after a number of seconds. It draws nothing and has no area.
#pragma once

#include "mfc/cstring.h"
#include "pages/objects/vobject.h"

class VAction : public VObject {
 public:
  VAction();
  ~VAction() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void ReadStyleAttributes() override;
  // Hands the line to the shell, which queues what it asks for.
  void Start() override;
  void Stop() override;

  const CString& Command() const { return command_; }

 private:
  CString command_;
};
