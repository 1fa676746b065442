// The page object that holds other page objects: pages, dialogs, toolbars,
// clusters, title lists, pictures with anchors and the players derive from
// it. Its children are a list in drawing order (the head is drawn first and
// the last child wins hit tests); the group owns and deletes them. It passes
// events to itself and then to its children until one consumes the event,
// routes the mouse to the child under the pointer, finds objects by name and
// paints its children, skipping whatever later opaque children cover.
#pragma once

#include "pages/objects/vobject.h"

class VGroup : public VObject {
 public:
  VGroup(int left, int top, int right, int bottom);
  ~VGroup() override;

  VObject* GetObjectUnderMouse() override;
  VObject* FindByWindow(HWND window) override;
  const char* GetClassName() const override;
  bool IsGroup() const override;
  void Initialize() override;
  void Invalidate() override;
  bool IsShown() const override;
  void AddToRegion(CRgn& region, bool opaqueOnly) override;
  void Paint(CDC* dc, const RECT& clip) override;
  void HandleEvent(PageEvent& event) override;
  // The soonest of the group's own and those of the objects in it.
  DWORD IdleWait() const override;
  void HandleMouse(int x, int y, PageEvent& event) override;
  bool Covers(int left, int top, int right, int bottom) const override;

  // At the top of the drawing order (last); null, the group itself and a
  // direct child already there are ignored.
  virtual void AppendChild(VObject* child);
  // At the bottom of the drawing order (first).
  virtual void AddChild(VObject* child);
  // Unlinks the child (not deleted); null when it is no child.
  virtual VObject* RemoveChild(VObject* child);
  virtual void DeleteChildren();
  virtual void BringToFront(VObject* child);
  virtual void SendToBack(VObject* child);
  virtual void SetMouseChild(VObject* child);
  virtual void InitializeChildren();

  // The object when it is the group or a direct child, or (recursive) in a
  // child group; null otherwise.
  VObject* Contains(const VObject* object, bool recursive);
  VObject* FirstChild() const { return firstChild_; }
  VObject* LastChild() const;
  VObject* MouseChild() const { return mouseChild_; }
  // The topmost direct child that takes the mouse at the point.
  VObject* ChildAt(int x, int y);
  // The object of that name (exact case): the group, a direct child, or
  // (recursive) one inside a child group.
  VObject* FindByName(const char* name, bool recursive);

 private:
  VObject* firstChild_ = nullptr;
  VObject* mouseChild_ = nullptr;
};
