// The user command interpreter: the one textual entry point for everything
// a user, a style description or a page element can ask of the client.
// Navigation is never done here: the interpreter makes command objects and
// pushes them on the command queue, and the idle processing runs them.
// Assignments to page objects, audio switching, the bookmark, the status
// report, printing and the command window act at once; "reload" is carried
// out at idle time and "stop" empties the queue through it, so that neither
// deletes objects that an event walk or a wait further up the stack is
// still using.
//
// Reports go to the logbook; the interpreter shows no message box of its
// own except the status report.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "mfc/cstring.h"

class VObject;

class Interpreter {
 public:
  // Splits the text into commands at semicolons and executes each.
  // `arguments` is a comma-separated list that "#n" in a goto target refers
  // to (may be null).
  static void Run(const char* text, const char* arguments = nullptr);
  // Executes one command.
  static void Execute(const char* line, const char* arguments = nullptr);
  // The assignment part of "set": a property path below the object, "=" and
  // a value of the property's type. The value is read and checked whole
  // before the object's setter sees it, so a refused assignment changes
  // nothing. 1 done, 0 refused.
  static int Assign(VObject* object, const char* text);
  // What activating an object does: a source anchor with a Layout text runs
  // the "onclick" action that the styles give it; everything else is
  // followed with a goto.
  static void ExecuteAnchorAction(const Ref<KXObject>& object);

  // The bookmark ("" until "setbookmark"), and the text last accepted in
  // the command window.
  static const CString& Bookmark();
  static const CString& LastDialogText();
  // Tests start each case without a bookmark or dialog text.
  static void ResetForTests();
};
