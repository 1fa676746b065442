#include "layout/pictures/picture_factory_impl.h"

#include <new>

#include "core/named_list.h"
#include "layout/pictures/dib_picture.h"
#include "layout/pictures/picture_loader.h"
#include "pixolt.h"
#include "win/user.h"

DibPicture* CreatePictureFromBytes(const void* data, LONG size) {
  LONG transparent = -1;
  HGLOBAL dib = PictureLoader::LoadMemory(data, size, transparent);
  HPALETTE palette = dib ? CreateDIBPalette(dib) : nullptr;
  if (!dib || !palette) {
    if (dib) GlobalFree(dib);
    return nullptr;
  }
  return new (std::nothrow) DibPicture(dib, palette, transparent);
}

DibPicture* SharedDefaultPicture() {
  static DibPicture* picture = [] {
    CString file = PictureSettings::HomeDir() + PictureSettings::DefaultImage();
    HGLOBAL dib = PictureLoader::LoadFile(file);
    HPALETTE palette = dib ? CreateDIBPalette(dib) : nullptr;
    if (!dib || !palette) {
      CString text = "Warning: Couldn't load " + file + "!!!!!";
      MessageBox(nullptr, text, nullptr, MB_OK);
    }
    auto* p = new DibPicture(dib, palette);
    p->acquire();  // kept for the whole run
    return p;
  }();
  return picture;
}

DibPicture* CreateInlinePicture() {
  DibPicture* clone = SharedDefaultPicture()->Clone();
  if (!clone) clone = new (std::nothrow) DibPicture(nullptr, nullptr);
  if (clone) clone->pending = 1;
  return clone;
}

NamedObject* ViewPictureFactory::CreatePicture(const void* data, LONG size) {
  return CreatePictureFromBytes(data, size);
}

NamedObject* ViewPictureFactory::DefaultPicture() { return SharedDefaultPicture(); }

void InstallViewPictures() {
  static ViewPictureFactory factory;
  static bool installed = false;
  if (installed) return;
  installed = true;
  InstallPictureFactory(&factory);
  SetInlinePictureFactory([]() -> NamedObject* { return CreateInlinePicture(); });
}
