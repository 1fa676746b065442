#include "text/atom/atom_factory.h"

namespace {
AtomFactory* gFactory = nullptr;
}

AtomFactory::~AtomFactory() = default;

void InstallAtomFactory(AtomFactory* factory) { gFactory = factory; }

AtomFactory* TheAtomFactory() { return gFactory; }
