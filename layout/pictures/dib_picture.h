// A picture of the text view: a packed DIB with its palette, optionally with
// one colour index drawn transparent. Pictures are shared (counted through
// NamedObject): the file pool, the Dingbat table, the picture atoms and the
// document's colour table each hold a reference.
//
// A picture may be made before its data exist (pending): it then shows the
// placeholder image until LoadFromMemory fills it. When a pending picture
// gets its data every watcher is told, so that text laid out around the
// placeholder's size can be laid out again.
#pragma once

#include <functional>
#include <vector>

#include "core/named_list.h"
#include "layout/atoms/text_output.h"
#include "win/gdi.h"
#include "win/kernel.h"
#include "win/types.h"

class DibPicture : public NamedObject {
 public:
  // Takes both handles (either may be null); `transparentIndex` -1 for none.
  DibPicture(HGLOBAL dib, HPALETTE palette, LONG transparentIndex = -1);
  ~DibPicture() override;

  // A picture of its own with a copy of the DIB and a new palette, the same
  // flags and transparent index; null when the copy cannot be made.
  DibPicture* Clone() const;
  // Width and height of the DIB; 0, 0 without one.
  LayoutSize GetSize() const;
  // Reads the picture file image (any format the loader knows) and, when a
  // DIB and a palette result, replaces the old ones, clears the pending flag
  // and tells the watchers. The bytes stay the caller's. False (the old
  // picture kept) when the data are no readable picture.
  bool LoadFromMemory(const void* data, LONG size);

  HGLOBAL Dib() const { return dib_; }
  HPALETTE Palette() const { return palette_; }
  bool HasTransparent() const { return transparent_ != 0; }
  LONG TransparentIndex() const { return transparentIndex_; }

  // Whoever draws with the picture and must hear when it changes size.
  using Watcher = std::function<void(DibPicture*)>;
  // A watcher for every picture that gets its data; the id removes it.
  static int WatchLoads(Watcher watcher);
  static void UnwatchLoads(int id);

 private:
  void replace(HGLOBAL dib, HPALETTE palette, LONG transparentIndex);

  HGLOBAL dib_ = nullptr;
  HPALETTE palette_ = nullptr;
  BYTE transparent_ = 0;
  LONG transparentIndex_ = -1;
};

// The picture a NamedObject of the text layer stands for, or null when it
// is none of ours.
DibPicture* AsDibPicture(NamedObject* object);
