// The pictures that pages show, loaded and converted for the display once,
// so that a picture used on several pages or shown again is neither read
// nor converted twice. One global instance; callers never delete a picture
// they got from it and do not keep it beyond the next Load.
//
// The pictures of the page being shown are pinned: loading one of them
// never evicts another of the same page (nor of the current page), so a
// page whose pictures together exceed the byte budget is decoded once and
// then drawn from the cache, the budget being exceeded while it is shown.
#pragma once

#include <array>
#include <cstdint>

#include "mfc/cstring.h"
#include "win/types.h"

class CDib;

class ImageCache {
 public:
  static constexpr int kSlots = 50;
  static constexpr int kDefaultMaxBytes = 2000000;

  ImageCache();
  ~ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // The picture of that name, from the cache or newly loaded through the
  // file cache; null when it cannot be had. `flag` is kept for callers
  // that pass one; `owner` is the page the picture is shown on (null for
  // none), whose pictures are pinned.
  CDib* Load(const CString& name, int flag, const void* owner = nullptr);
  // The cached picture of that name (its use counts once more), or null.
  CDib* Find(const CString& name);
  void FreeAll();
  // Marks the picture's file in the file cache as temporary.
  void MarkFileTemporary(const CString& name);
  // The cached picture with the most colours, or null.
  CDib* LargestPaletteImage();
  void SetMaxBytes(int n);
  void SetMaxCount(int n);

  // --- For inspection ---
  int ImageCount() const { return imageCount_; }
  std::int32_t TotalBytes() const { return totalBytes_; }
  int MaxCount() const { return maxCount_; }
  // How many pictures were read from their files so far.
  int Decodes() const { return decodes_; }
  // The slot of a cached name and its use count; -1 / 0 when not cached.
  int SlotOf(const CString& name) const;
  std::uint32_t UseCount(const CString& name) const;

 private:
  struct Slot {
    CDib* image = nullptr;
    std::uint32_t uses = 0;
    CString name;
    std::int32_t size = 0;
    const void* owner = nullptr;
  };
  void FreeSlot(int i);
  // The slot to evict, skipping pinned pictures; -1 when none may go.
  int Victim(const void* owner) const;

  std::array<Slot, kSlots> slots_{};
  int maxCount_ = kSlots;
  int imageCount_ = 0;
  std::int32_t maxBytes_ = kDefaultMaxBytes;
  std::int32_t totalBytes_ = 0;
  int decodes_ = 0;
};

// The program's image cache.
ImageCache& TheImageCache();
