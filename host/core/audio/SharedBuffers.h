#pragma once

namespace Ombix::Kelvane {

// The process-wide buffers of the audio graph, each of the current block size: one silence buffer
// (all zero) that unlinked inputs read, and 16 scratch buffers that unlinked outputs write and nobody
// reads (channel i writes scratch i % 16).
constexpr int kScratchBufferCount = 16;

// Replaces the buffers by new ones of frames each (none for 0); the same size changes nothing. The
// old addresses are kept for comparison, so that holders can swap them for the new ones.
void ResizeSharedBuffers(int frames);
int SharedBufferSize();
float* SilenceBuffer();
float* ScratchBuffer(int channel);
// The addresses the buffers had before the last resize (never read or written).
const float* PreviousSilenceBuffer();
const float* PreviousScratchBuffer(int channel);

}  // namespace Ombix::Kelvane
