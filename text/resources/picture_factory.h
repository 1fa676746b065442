// Pictures that the text layer makes from file contents (Dingbats) and the
// picture it shows where none can be had. The layout implements and installs
// the factory at start-up; pictures are counted objects (acquire/release).
#pragma once

#include "win/types.h"

class NamedObject;

class PictureFactory {
 public:
  virtual ~PictureFactory();
  // A new picture from a picture file's bytes (the caller frees the bytes
  // afterwards); null when they are no picture the factory can read.
  virtual NamedObject* CreatePicture(const void* data, LONG size) = 0;
  // The shared picture shown for a picture that cannot be had; never null
  // and kept by the factory.
  virtual NamedObject* DefaultPicture() = 0;
};

void InstallPictureFactory(PictureFactory* factory);
PictureFactory* ThePictureFactory();
