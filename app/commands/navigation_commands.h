// The commands that move through the objects of the data source: goto (an
// id, an object, a name or a URL), parents, up, root, the server root, home,
// back, forward, next, previous and the list of objects visited lately.
// Each pushes what it arrives at on the navigation history; the idle
// processing then shows it.
#pragma once

#include "app/commands/command.h"
#include "core/object_id.h"
#include "mfc/cstring.h"

class GotoCommand : public NavigationCommand {
 public:
  enum Kind : int { kNone = 0, kId = 1, kObject = 2, kName = 3 };
  // A chain of source anchors longer than this is a cycle (or as good as
  // one): goto gives up instead of following it for ever.
  static constexpr int kMaxAnchorChain = 32;

  GotoCommand() = default;
  explicit GotoCommand(const CString& name) : kind(kName), name(name) {}
  explicit GotoCommand(const Ref<KXObject>& target) : kind(kObject), target(target) {}
  explicit GotoCommand(ObjectId id) : kind(kId), id(id) {}

  int GetType() const override { return kCommandGoto; }
  BOOL Execute() override;

  int kind = kNone;
  ObjectId id;
  Ref<KXObject> target;
  CString name;
};

class ParentsCommand : public NavigationCommand {
 public:
  enum Kind : int { kId = 0, kObject = 1, kName = 2 };
  // The parents of the current history object.
  ParentsCommand();
  explicit ParentsCommand(const Ref<KXObject>& target) : kind(kObject), target(target) {}
  explicit ParentsCommand(const CString& name) : kind(kName), name(name) {}

  int GetType() const override { return kCommandParents; }
  BOOL Execute() override;
  // There is a current object and its id is not 0.
  static BOOL IsEnabled();

  int kind = kObject;
  ObjectId id;
  Ref<KXObject> target;
  CString name;
};

class UpCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandUp; }
  BOOL Execute() override;
  // There is a current object that names its parent.
  static BOOL IsEnabled();
};

class RootCommand : public GotoCommand {
 public:
  RootCommand();
  int GetType() const override { return kCommandRoot; }
  // FALSE only while the root collection itself is current.
  static BOOL IsEnabled();
};

class KorvexRootCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandKorvexRoot; }
  BOOL Execute() override;
  // FALSE only while a document with object id 0 is current.
  static BOOL IsEnabled();
};

class HomeCommand : public GotoCommand {
 public:
  int GetType() const override { return kCommandHome; }
  BOOL Execute() override;
  // Enabled for a user until a home command of that user fails.
  static BOOL IsEnabled();
  // The program starts with no user seen and the home button enabled.
  static void ResetForTests();
};

class BackCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandBack; }
  BOOL Execute() override;
  static BOOL IsEnabled();
};

class ForwardCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandForward; }
  BOOL Execute() override;
  static BOOL IsEnabled();
};

class NextCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandNext; }
  BOOL Execute() override;
  static BOOL IsEnabled();
};

class PrevCommand : public NavigationCommand {
 public:
  int GetType() const override { return kCommandPrev; }
  BOOL Execute() override;
  static BOOL IsEnabled();
};

class HistoryCommand : public NavigationCommand {
 public:
  explicit HistoryCommand(int limit) : limit(limit) {}
  int GetType() const override { return kCommandHistory; }
  BOOL Execute() override;
  static BOOL IsEnabled();

  int limit;
};

// The member after (next) or before (previous) the current object in the
// collection that holds it, by the program's sort order; null when there is
// none. Previous of an object that is not among the members is the last one.
Ref<KXObject> NextMember();
Ref<KXObject> PreviousMember();
// Lets go of the holding collection kept for the current object: at the
// end of a run, while the object registers still stand.
void ForgetHoldingCollection();
