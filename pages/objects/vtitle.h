// The title of a server object (a collection, a cluster, a picture, a film,
// a sound) on the page part that shows it: a label whose caption is the
// object's title in the preferred language, read again whenever the label
// is invalidated, so that a new language order shows at once.
#pragma once

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/objects/vlabel.h"

class Area;
class PropertyStruct;

class VTitle : public VLabel {
 public:
  // White on solid red, disabled and fitted to its caption until its style
  // says otherwise.
  VTitle(int left, int top, int right, int bottom, const Ref<KXObject>& object);
  ~VTitle() override;

  // The title a page part wants for the object, by the object's class and
  // the part style's "title" member: at its "pos", or a strip taken off the
  // top or the bottom of the area. Null when no title is wanted or there
  // is no room; the caller owns the title.
  static VTitle* Create(Area& area, const Ref<KXObject>& object, const PropertyStruct* partStyle);
  // The height of a title strip.
  static int StripHeight() { return DefaultFontSize() + 4; }

  const char* GetClassName() const override;
  void Invalidate() override;
  bool SetStringAttribute(const char* name, const char* text) override;

  const Ref<KXObject>& Object() const { return object_; }

 private:
  Ref<KXObject> object_;
};
