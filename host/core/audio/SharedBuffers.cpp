#include "host/core/audio/SharedBuffers.h"

#include <array>
#include <memory>

namespace Ombix::Kelvane {

namespace {

struct Buffers {
  int frames = 0;
  std::unique_ptr<float[]> silence;
  std::array<std::unique_ptr<float[]>, kScratchBufferCount> scratch;
  const float* previousSilence = nullptr;
  std::array<const float*, kScratchBufferCount> previousScratch{};
};

Buffers& Shared() {
  static Buffers buffers;
  return buffers;
}

}  // namespace

void ResizeSharedBuffers(int frames) {
  Buffers& buffers = Shared();
  if (frames == buffers.frames) return;
  // The new buffers are made before the old ones are freed, so no new address equals an old one.
  std::unique_ptr<float[]> silence;
  std::array<std::unique_ptr<float[]>, kScratchBufferCount> scratch;
  if (frames > 0) {
    silence = std::make_unique<float[]>(static_cast<std::size_t>(frames));
    for (auto& buffer : scratch) buffer = std::make_unique<float[]>(static_cast<std::size_t>(frames));
  }
  buffers.previousSilence = buffers.silence.get();
  buffers.silence = std::move(silence);
  for (int i = 0; i < kScratchBufferCount; ++i) {
    buffers.previousScratch[i] = buffers.scratch[i].get();
    buffers.scratch[i] = std::move(scratch[i]);
  }
  buffers.frames = frames;
}

int SharedBufferSize() {
  return Shared().frames;
}

float* SilenceBuffer() {
  return Shared().silence.get();
}

float* ScratchBuffer(int channel) {
  return Shared().scratch[static_cast<std::size_t>(channel % kScratchBufferCount)].get();
}

const float* PreviousSilenceBuffer() {
  return Shared().previousSilence;
}

const float* PreviousScratchBuffer(int channel) {
  return Shared().previousScratch[static_cast<std::size_t>(channel % kScratchBufferCount)];
}

}  // namespace Ombix::Kelvane
