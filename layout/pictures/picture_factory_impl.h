// The pictures of the text view as the text layer and the file pool ask for
// them: a picture from a picture file's bytes, the default picture shown
// where none can be had (DefaultImage in the text viewer's home directory,
// read once), and new pending pictures that show the default picture until
// their data arrive.
#pragma once

#include "text/resources/picture_factory.h"

class DibPicture;

class ViewPictureFactory : public PictureFactory {
 public:
  NamedObject* CreatePicture(const void* data, LONG size) override;
  NamedObject* DefaultPicture() override;
};

// A new picture from a file image; null when the bytes are no picture.
DibPicture* CreatePictureFromBytes(const void* data, LONG size);
// The shared default picture (kept until the program ends; never null).
DibPicture* SharedDefaultPicture();
// A new pending picture showing the default picture, owned by the caller.
DibPicture* CreateInlinePicture();

// Installs the picture factory of the text layer and the inline-picture
// maker of named lists (once; later calls do nothing).
void InstallViewPictures();
