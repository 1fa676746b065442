#include "pages/picture/image_cache.h"

#include "core/logbook.h"
#include "pages/page/page_switch.h"
#include "pages/page/vpage.h"
#include "pages/picture/cdib.h"
#include "store/cache/file_cache.h"

ImageCache::ImageCache() = default;

ImageCache::~ImageCache() { FreeAll(); }

int ImageCache::SlotOf(const CString& name) const {
  if (imageCount_ == 0 || name.IsEmpty()) return -1;
  for (int i = 0; i < kSlots; ++i)
    if (slots_[i].image && slots_[i].name == name) return i;
  return -1;
}

std::uint32_t ImageCache::UseCount(const CString& name) const {
  const int i = SlotOf(name);
  return i < 0 ? 0 : slots_[i].uses;
}

CDib* ImageCache::Find(const CString& name) {
  const int i = SlotOf(name);
  if (i < 0) return nullptr;
  ++slots_[i].uses;
  return slots_[i].image;
}

void ImageCache::FreeSlot(int i) {
  Slot& s = slots_[i];
  if (!s.image) return;
  delete s.image;
  totalBytes_ -= s.size;
  --imageCount_;
  s = Slot{};
}

int ImageCache::Victim(const void* owner) const {
  const void* current = static_cast<const VObject*>(CurrentPage());
  int best = -1;
  for (int i = 0; i < kSlots; ++i) {
    const Slot& s = slots_[i];
    if (!s.image) continue;
    if (s.owner && (s.owner == owner || s.owner == current)) continue;
    if (best < 0 || s.uses < slots_[best].uses || (s.uses == slots_[best].uses && s.size > slots_[best].size))
      best = i;
  }
  return best;
}

CDib* ImageCache::Load(const CString& name, int flag, const void* owner) {
  (void)flag;
  if (name.IsEmpty()) return nullptr;
  if (CDib* hit = Find(name)) {
    if (owner) slots_[SlotOf(name)].owner = owner;
    return hit;
  }
  FileCache& files = TheFileCache();
  const CString file = files.acquire(name);
  if (file.IsEmpty()) {
    TheLogbook().Write((CString("image ") + name + " not available").str().c_str());
    return nullptr;
  }
  auto* picture = new CDib;
  ++decodes_;
  if (!picture->Load(file, nullptr)) {
    TheLogbook().Write((CString("cannot load image ") + name).str().c_str());
    delete picture;
    files.unlock(name);
    return nullptr;
  }
  files.unlock(name);
  if (!picture->ConvertDepth(nullptr, 0, 0, 0, 0)) {
    delete picture;
    return nullptr;
  }
  const std::int32_t size = static_cast<std::int32_t>(picture->DisplaySize());
  // Room: one slot when the count limit or the table is reached (a page's
  // own pictures go only when nothing else can), then the byte budget, for
  // which pinned pictures never go.
  if (imageCount_ >= maxCount_ || imageCount_ >= kSlots) {
    int victim = Victim(owner);
    if (victim < 0) victim = Victim(nullptr);
    if (victim < 0) {
      for (int i = 0; i < kSlots && victim < 0; ++i)
        if (slots_[i].image) victim = i;
    }
    if (victim >= 0) FreeSlot(victim);
  }
  if (size < maxBytes_) {
    while (totalBytes_ + size > maxBytes_) {
      const int victim = Victim(owner);
      if (victim < 0) break;
      FreeSlot(victim);
    }
  }
  int slot = -1;
  for (int i = kSlots - 1; i >= 0 && slot < 0; --i)
    if (!slots_[i].image) slot = i;
  if (slot < 0) {
    delete picture;
    return nullptr;
  }
  Slot& s = slots_[slot];
  s.image = picture;
  s.uses = size <= maxBytes_ ? 2 : 1;
  s.name = name;
  s.size = size;
  s.owner = owner;
  ++imageCount_;
  totalBytes_ += size;
  return picture;
}

void ImageCache::FreeAll() {
  for (int i = 0; i < kSlots; ++i) FreeSlot(i);
}

void ImageCache::MarkFileTemporary(const CString& name) {
  if (SlotOf(name) >= 0) TheFileCache().markTemporary(name);
}

CDib* ImageCache::LargestPaletteImage() {
  int best = -1;
  for (int i = 0; i < kSlots; ++i) {
    const Slot& s = slots_[i];
    if (!s.image || s.uses == 0 || s.name.IsEmpty()) continue;
    if (best < 0 || s.image->ColorCount() > slots_[best].image->ColorCount()) best = i;
  }
  return best < 0 ? nullptr : slots_[best].image;
}

void ImageCache::SetMaxBytes(int n) { maxBytes_ = n; }

void ImageCache::SetMaxCount(int n) { maxCount_ = n < kSlots ? kSlots : n; }

ImageCache& TheImageCache() {
  static ImageCache cache;
  return cache;
}
