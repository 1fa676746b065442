#include "text/resources/picture_factory.h"

namespace {
PictureFactory* gFactory = nullptr;
}

PictureFactory::~PictureFactory() = default;

void InstallPictureFactory(PictureFactory* factory) { gFactory = factory; }

PictureFactory* ThePictureFactory() { return gFactory; }
