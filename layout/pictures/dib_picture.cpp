#include "layout/pictures/dib_picture.h"

#include <map>

#include "layout/pictures/picture_loader.h"
#include "pixolt.h"

namespace {

struct Watchers {
  int next = 1;
  std::map<int, DibPicture::Watcher> all;
};

Watchers& watchers() {
  static Watchers w;
  return w;
}

}  // namespace

DibPicture::DibPicture(HGLOBAL dib, HPALETTE palette, LONG transparentIndex)
    : dib_(dib), palette_(palette), transparent_(transparentIndex >= 0 ? 1 : 0), transparentIndex_(transparentIndex) {}

DibPicture::~DibPicture() {
  if (dib_) GlobalFree(dib_);
  if (palette_) DeleteObject(palette_);
}

DibPicture* DibPicture::Clone() const {
  HGLOBAL copy = dib_ ? CopyDIB(dib_) : nullptr;
  if (dib_ && !copy) return nullptr;
  HPALETTE palette = copy ? CreateDIBPalette(copy) : nullptr;
  auto* clone = new DibPicture(copy, palette, transparentIndex_);
  clone->transparent_ = transparent_;
  clone->pending = pending;
  return clone;
}

LayoutSize DibPicture::GetSize() const {
  if (!dib_) return LayoutSize{0, 0};
  return LayoutSize{static_cast<LONG>(GetDIBWidth(dib_)), static_cast<LONG>(GetDIBHeight(dib_))};
}

void DibPicture::replace(HGLOBAL dib, HPALETTE palette, LONG transparentIndex) {
  if (dib_) GlobalFree(dib_);
  if (palette_) DeleteObject(palette_);
  dib_ = dib;
  palette_ = palette;
  transparent_ = transparentIndex >= 0 ? 1 : 0;
  transparentIndex_ = transparentIndex;
}

bool DibPicture::LoadFromMemory(const void* data, LONG size) {
  LONG transparent = -1;
  HGLOBAL dib = PictureLoader::LoadMemory(data, size, transparent);
  HPALETTE palette = dib ? CreateDIBPalette(dib) : nullptr;
  if (!dib || !palette) {
    if (dib) GlobalFree(dib);
    return false;
  }
  replace(dib, palette, transparent);
  const bool wasPending = pending != 0;
  pending = 0;
  if (wasPending) {
    // A copy: a watcher may remove itself (or others) while it is told.
    std::map<int, Watcher> now = watchers().all;
    for (auto& [id, w] : now)
      if (watchers().all.count(id)) w(this);
  }
  return true;
}

int DibPicture::WatchLoads(Watcher watcher) {
  int id = watchers().next++;
  watchers().all[id] = std::move(watcher);
  return id;
}

void DibPicture::UnwatchLoads(int id) { watchers().all.erase(id); }

DibPicture* AsDibPicture(NamedObject* object) { return dynamic_cast<DibPicture*>(object); }
