#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "mci/audio_sink.h"
#include "mci/audio_source.h"

namespace win::mci {

namespace {

class NullSink : public AudioSink {
 public:
  void Write(const std::int16_t*, std::size_t) override {}
};

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutLe16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Byte offsets of the canonical 44-byte header of a PCM WAV file.
enum WavHeader : std::size_t {
  kRiffSize = 4,
  kDataSize = 40,
  kHeaderBytes = 44,
};

class WavFileSink : public AudioSink {
 public:
  explicit WavFileSink(std::FILE* f) : file_(f) { WriteHeader(); }
  ~WavFileSink() override { std::fclose(file_); }

  void Write(const std::int16_t* frames, std::size_t count) override {
    const std::size_t bytes = count * kOutputChannels * sizeof(std::int16_t);
    // The size fields are 32-bit: a file never grows past what they can say.
    if (dataBytes_ + bytes > 0xFFFFFFFFu - kHeaderBytes) return;
    std::fseek(file_, 0, SEEK_END);
    std::uint8_t buf[4096];
    std::size_t done = 0;
    const std::size_t samples = count * kOutputChannels;
    while (done < samples) {
      const std::size_t n = std::min(samples - done, sizeof buf / 2);
      for (std::size_t i = 0; i < n; ++i)
        PutLe16(buf + 2 * i, static_cast<std::uint16_t>(frames[done + i]));
      std::fwrite(buf, 2, n, file_);
      done += n;
    }
    dataBytes_ += bytes;
    std::uint8_t size[4];
    PutLe32(size, static_cast<std::uint32_t>(dataBytes_ + kHeaderBytes - 8));
    std::fseek(file_, kRiffSize, SEEK_SET);
    std::fwrite(size, 1, 4, file_);
    PutLe32(size, static_cast<std::uint32_t>(dataBytes_));
    std::fseek(file_, kDataSize, SEEK_SET);
    std::fwrite(size, 1, 4, file_);
    std::fflush(file_);
  }

 private:
  void WriteHeader() {
    std::uint8_t h[kHeaderBytes] = {};
    std::memcpy(h, "RIFF", 4);
    PutLe32(h + kRiffSize, kHeaderBytes - 8);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    PutLe32(h + 16, 16);
    PutLe16(h + 20, 1);  // PCM
    PutLe16(h + 22, kOutputChannels);
    PutLe32(h + 24, kOutputRate);
    PutLe32(h + 28, kOutputRate * kOutputChannels * 2);
    PutLe16(h + 32, kOutputChannels * 2);
    PutLe16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    PutLe32(h + kDataSize, 0);
    std::fwrite(h, 1, sizeof h, file_);
    std::fflush(file_);
  }

  std::FILE* file_;
  std::size_t dataBytes_ = 0;
};

bool EnvironmentSet(const char* name, const char* value) {
  const char* v = std::getenv(name);
  return v && std::strcmp(v, value) == 0;
}

}  // namespace

std::unique_ptr<AudioSink> MakeNullSink() { return std::make_unique<NullSink>(); }

std::unique_ptr<AudioSink> MakeWavFileSink(const std::string& hostPath) {
  std::FILE* f = std::fopen(hostPath.c_str(), "w+b");
  if (!f) return nullptr;
  return std::make_unique<WavFileSink>(f);
}

std::unique_ptr<AudioSink> ChooseAudioSink() {
  const char* choice = std::getenv("ZEMRA_MCI_AUDIO");
  std::unique_ptr<AudioSink> sink;
  if (choice && std::strncmp(choice, "wav:", 4) == 0) {
    sink = MakeWavFileSink(choice + 4);
  } else if (choice && std::strcmp(choice, "alsa") == 0) {
    sink = MakeAlsaSink();
  } else if (!choice || !*choice) {
    if (!EnvironmentSet("ZEMRA_HEADLESS", "1")) sink = MakeAlsaSink();
  }
  return sink ? std::move(sink) : MakeNullSink();
}

}  // namespace win::mci
