#include "mci/media_module.h"

#include "kernel/lazy_module.h"

namespace win::mci {

const MediaModule* Media() {
  static const MediaModule* module =
      kernel::LoadLazyModule<MediaModule>("libzemramedia.so", "ZemraMediaModule", nullptr);
  return module;
}

std::unique_ptr<AudioSink> MakeAlsaSink() {
  const MediaModule* m = Media();
  return m && m->openAlsa ? m->openAlsa() : nullptr;
}

}  // namespace win::mci
