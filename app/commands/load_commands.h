// The commands that bring a document's file to a waiting target without
// blocking the page that waits: an image, a movie or a sound for a page
// object, or an inline document for a text object. None of them navigates.
#pragma once

#include "app/commands/command.h"
#include "mfc/cstring.h"

class LoadTarget;

// The file cache as the shell uses it: the load commands, and start-up and
// exit with the cache's limits and tables (the program's cache installs an
// adapter; without one every document is loaded afresh and nothing is kept).
class DocumentFileCache {
 public:
  virtual ~DocumentFileCache();
  virtual void SetLimits(long maxBytes, int maxEntries) = 0;
  virtual void LoadTable(const CString& path) = 0;
  // Writes the table; afterwards every entry counts as permanent.
  virtual void SaveTable(const CString& path) = 0;
  virtual int TemporaryCount() = 0;
  // Removes every entry (a temporary entry's file with it).
  virtual void RemoveAll() = 0;
  virtual bool Contains(const CString& key) = 0;
  // The local file, downloaded when missing and unlocked again; "" when the
  // document cannot be had.
  virtual CString Fetch(const CString& key) = 0;
  // The same, but the entry stays locked until Unlock.
  virtual CString Acquire(const CString& key) = 0;
  virtual void Unlock(const CString& key) = 0;
  virtual void Insert(const CString& key, const CString& file, bool temporary,
                      const CString& label) = 0;
};
// The installed cache (null: none); Set returns the previous one. The caller
// keeps ownership.
DocumentFileCache* LoadCache();
DocumentFileCache* SetLoadCache(DocumentFileCache* cache);

// Installs the program's file cache (unless one is installed already) and
// the way it downloads documents.
void InstallProgramFileCache();

// What every load command has: the document and the target that waits.
class LoadCommand : public Command {
 public:
  LoadTarget* Target() const { return target_; }
  // The target went away: the command delivers to nobody.
  void DropTarget() { target_ = nullptr; }
  const Ref<KXObject>& Document() const { return document_; }

 protected:
  LoadCommand(const Ref<KXObject>& document, LoadTarget* target)
      : document_(document), target_(target) {}

  Ref<KXObject> document_;
  LoadTarget* target_;
};

// An image, movie or sound document for a page object.
class MediaLoadCommand : public LoadCommand {
 public:
  int GetType() const override { return type_; }
  BOOL Execute() override;

 protected:
  MediaLoadCommand(const Ref<KXObject>& document, LoadTarget* target, int type, int classCode,
                   const char* extension)
      : LoadCommand(document, target), type_(type), classCode_(classCode), extension_(extension) {}

 private:
  int type_;
  int classCode_;
  const char* extension_;
};

class LoadImageCommand : public MediaLoadCommand {
 public:
  LoadImageCommand(const Ref<KXObject>& document, LoadTarget* target);
};

class LoadMovieCommand : public MediaLoadCommand {
 public:
  LoadMovieCommand(const Ref<KXObject>& document, LoadTarget* target);
};

class LoadSoundCommand : public MediaLoadCommand {
 public:
  LoadSoundCommand(const Ref<KXObject>& document, LoadTarget* target);
};

// A document that a link leads to, for a text object (which may not wait:
// then the file only goes into the cache).
class LoadInlineCommand : public LoadCommand {
 public:
  LoadInlineCommand(const Ref<KXObject>& link, LoadTarget* target, const CString& name);
  int GetType() const override { return kCommandLoadInline; }
  BOOL Execute() override;
  CString GetName() const { return name_; }
  const Ref<KXObject>& Link() const { return link_; }

 private:
  Ref<KXObject> link_;
  CString name_;
};
