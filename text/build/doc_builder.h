// The document builder: turns the builder calls that token dispatch and the
// definition files' actions make into a tree of layout atoms. It owns the
// root of the tree until someone detaches it, keeps a stack of open
// containers, puts every new atom into the container on top of it, closes
// atoms at document positions, and routes position items to the container
// that takes them. Every atom is made by the installed AtomFactory with the
// resolved style of the element it belongs to (the context argument).
//
// A holder is a container marked by SetHolder: the next atom opened while it
// is current is not added to it but held, and handed to it (AdoptLabel) when
// that atom closes. List items get their number labels this way.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "core/objref.h"
#include "mfc/cstring.h"
#include "text/atom/position_item.h"
#include "text/atom/table_attrs.h"
#include "text/form/form_field_record.h"
#include "win/types.h"

class Atom;
class AtomFactory;
class BuildListener;
class BuildTarget;
class DingbatTable;
class Form;
class FormSubmitter;
class NamedObject;
class PictureContext;
class ResolvedStyle;
class TabSettingsList;

class DocBuilder {
 public:
  // `pictureSource` is copied (its Clone) for the picture requests; the
  // listener, the tab list and the Dingbat table are borrowed.
  DocBuilder(BuildListener* listener, const PictureContext* pictureSource, LONG viewArgument,
             TabSettingsList* tabSettings, DingbatTable* dingbats, AtomFactory* factory);
  DocBuilder(const DocBuilder&) = delete;
  DocBuilder& operator=(const DocBuilder&) = delete;
  virtual ~DocBuilder();

  // ---- Atoms; each returns the inserted atom or null.
  Atom* AddWord(LONG position, ResolvedStyle* context);
  Atom* AddParagraph(LONG position, ResolvedStyle* context);
  Atom* AddPage(LONG position, ResolvedStyle* context);
  Atom* AddTable(LONG position, ResolvedStyle* context, const TableAttrs& attrs);
  Atom* AddTableItem(LONG position, ResolvedStyle* context, const CellAttrs& attrs);
  Atom* AddTableRow(LONG position, ResolvedStyle* context, LONG value);  // makes nothing
  Atom* AddListItem(LONG position, ResolvedStyle* context, LONG value);
  // The current word (if any) is closed first; text after the picture then
  // goes into a new word.
  Atom* AddPicture(LONG position, ResolvedStyle* context, const CString& name, const CString& argument,
                   BYTE inlineFlag, LONG a, LONG b);
  bool SetForm(const CString& action, LONG method, LONG further, FormSubmitter* submitter);
  Atom* AddFormField(LONG position, ResolvedStyle* context, LONG kind, const FormFieldRecord& record);
  Atom* AddList(LONG position, ResolvedStyle* context);
  Atom* AddHorizontalRule(LONG position, ResolvedStyle* context, LONG value);
  bool AddText(LONG position, ResolvedStyle* context, LONG textKind, std::string_view text);
  Atom* EndAtom(LONG position);
  bool SetHolder(LONG kind, const CString& name);
  bool PassToCurrent(LONG value, ResolvedStyle* context);
  bool AddWordSpace(LONG position, ResolvedStyle* context);

  // ---- Position items; the creators return the item when a container took it.
  virtual bool PushMarker(PositionItem* item);
  PositionItem* AddLineBreak(LONG position);
  PositionItem* AddTab(LONG position, const CString& name, LONG flag);
  PositionItem* AddBorderMark(LONG position, const CString& name, LONG flag);
  PositionItem* AddTabStop(LONG position, const CString& name, LONG flag, const TabStopValues& values);
  PositionItem* AddTableRowItem(LONG position);
  PositionItem* AddOption(const CString& value, BYTE selected, const CString& text1, BYTE defaultSelected,
                          const CString& text2);

  // ---- Builds.
  // Ends the build (Finish), starts a new generation for `target` and
  // deletes the tree the builder still owns.
  void Reset(BuildTarget* target);
  // As Reset, keeping the target, but the tree is handed to the caller
  // (null when the builder owns none). A later build makes a new root that
  // the builder owns again.
  Atom* DetachRoot();
  // Tells the listener that the current build has ended.
  void Finish();
  // Sets the end of every open atom and closes it, innermost first.
  void CloseAll(LONG position);
  // A picture through the listener, for the document itself (its
  // background).
  NamedObject* NotifyListener(const CString& name, const CString& argument);

  Atom* Root() const { return root_; }
  Atom* Current() const { return current_; }
  int Depth() const { return static_cast<int>(size_); }
  LONG ErrorPosition() const { return errorPosition_; }
  LONG Generation() const { return generation_; }
  BuildTarget* Target() const { return target_; }
  Form* CurrentForm() const { return form_.get(); }
  LONG ViewArgument() const { return viewArgument_; }
  TabSettingsList* TabList() const { return tabSettings_; }

  // The most open containers the builder keeps; deeper atoms are refused.
  static constexpr DWORD kMaxDepth = 1u << 20;

 private:
  struct Entry {
    Atom* atom;
    Atom* lastChild;  // the last atom added to it, for word spaces
    // Whether the atom, and the last child once closed, took any text: a
    // word space only goes after a word that holds some.
    bool hasText = false;
    bool lastChildHasText = false;
  };
  struct HolderName {
    DWORD kind;
    CString name;
  };

  Atom* Insert(Atom* atom);
  Atom* Pop();
  bool Reserve();
  void ClearHolder();
  void DropTree();
  PositionItem* Offer(PositionItem* item);

  Atom* root_ = nullptr;
  Atom* current_ = nullptr;
  std::unique_ptr<Entry[]> stack_;
  DWORD size_ = 0;
  DWORD capacity_ = 0;
  LONG errorPosition_ = -1;
  Ref<Form> form_;
  TabSettingsList* tabSettings_;
  std::optional<HolderName> holderName_;
  Atom* holder_ = nullptr;
  Atom* heldAtom_ = nullptr;
  BuildListener* listener_;
  BuildTarget* target_;
  LONG generation_;
  std::unique_ptr<PictureContext> pictureContext_;
  LONG viewArgument_;
  BYTE reopenWord_ = 0;
  DingbatTable* dingbats_;
  AtomFactory* factory_;
};
