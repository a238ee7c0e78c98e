#include "plugin/engine/tools/ProgramFingerprint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <utility>

namespace {

constexpr char magic[4] = {'Z', 'P', 'F', 'P'};

// Appends and reads plain values in the byte order of the machine (little-endian on every target).
template <typename T>
void append(std::string& bytes, const T& value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

class ByteReader {
 public:
  ByteReader(const void* data, std::size_t size) : data(static_cast<const char*>(data)), size(size) {}

  template <typename T>
  bool read(T& value) {
    if (size - position < sizeof value) return false;
    std::memcpy(&value, data + position, sizeof value);
    position += sizeof value;
    return true;
  }

  bool atEnd() const { return position == size; }

 private:
  const char* data;
  std::size_t size;
  std::size_t position = 0;
};

ProgramFingerprint takeFingerprint(const ProgramRenderer& renderer, int32_t program) {
  ProgramFingerprint fingerprint;
  for (int32_t playing = 0; playing < ProgramFingerprint::playingCount; ++playing) {
    const FingerprintPlaying& played = fingerprintPlayings[playing];
    PlayingSettings settings;
    settings.program = program;
    settings.keys = {played.key};
    settings.sampleRate = played.sampleRate;
    settings.heldSeconds = 0.6;
    settings.releasedSeconds = 0.2;
    const StereoRendering rendering = renderer.render(settings);
    const std::vector<float>* sides[ProgramFingerprint::channelCount] = {&rendering.left, &rendering.right};
    fingerprint.frames[playing] = static_cast<int32_t>(rendering.left.size());
    for (int32_t channel = 0; channel < ProgramFingerprint::channelCount; ++channel) {
      const std::vector<float>& samples = *sides[channel];
      ProgramFingerprint::Channel& kept = fingerprint.channels[playing][channel];
      for (int32_t point = 0; point < ProgramFingerprint::pointCount; ++point) {
        const std::size_t frame = static_cast<std::size_t>(point) * played.stride;
        kept.points[point] = frame < samples.size() ? samples[frame] : NAN;
      }
      for (float sample : samples) kept.magnitudeSum += std::fabs(sample);
    }
  }
  return fingerprint;
}

}  // namespace

std::vector<ProgramFingerprint> takeProgramFingerprints(const ProgramRenderer& renderer,
                                                        int32_t programCount) {
  std::vector<ProgramFingerprint> fingerprints;
  for (int32_t program = 0; program < programCount; ++program) {
    fingerprints.push_back(takeFingerprint(renderer, program));
  }
  return fingerprints;
}

std::string encodeFingerprints(const std::vector<ProgramFingerprint>& fingerprints) {
  std::string bytes(magic, sizeof magic);
  append(bytes, static_cast<int32_t>(fingerprints.size()));
  append(bytes, ProgramFingerprint::pointCount);
  append(bytes, ProgramFingerprint::playingCount);
  for (int32_t playing = 0; playing < ProgramFingerprint::playingCount; ++playing) {
    append(bytes, fingerprints.empty() ? 0 : fingerprints.front().frames[playing]);
  }
  for (const ProgramFingerprint& fingerprint : fingerprints) {
    for (const auto& playing : fingerprint.channels) {
      for (const ProgramFingerprint::Channel& channel : playing) {
        for (float point : channel.points) append(bytes, point);
        append(bytes, channel.magnitudeSum);
      }
    }
  }
  return bytes;
}

bool decodeFingerprints(const void* data, std::size_t size, std::vector<ProgramFingerprint>& fingerprints) {
  fingerprints.clear();
  ByteReader reader(data, size);
  char readMagic[sizeof magic] = {};
  int32_t programs = 0;
  int32_t points = 0;
  int32_t playings = 0;
  int32_t frames[ProgramFingerprint::playingCount] = {};
  if (!reader.read(readMagic) || std::memcmp(readMagic, magic, sizeof magic) != 0) return false;
  if (!reader.read(programs) || !reader.read(points) || !reader.read(playings)) return false;
  if (programs < 0 || points != ProgramFingerprint::pointCount) return false;
  if (playings != ProgramFingerprint::playingCount || !reader.read(frames)) return false;
  std::vector<ProgramFingerprint> read(programs);
  for (ProgramFingerprint& fingerprint : read) {
    std::copy(std::begin(frames), std::end(frames), fingerprint.frames);
    for (auto& playing : fingerprint.channels) {
      for (ProgramFingerprint::Channel& channel : playing) {
        for (float& point : channel.points) {
          if (!reader.read(point)) return false;
        }
        if (!reader.read(channel.magnitudeSum)) return false;
      }
    }
  }
  if (!reader.atEnd()) return false;
  fingerprints = std::move(read);
  return true;
}
