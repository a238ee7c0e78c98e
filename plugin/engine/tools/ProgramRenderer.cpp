#include "plugin/engine/tools/ProgramRenderer.h"

#include <cmath>

#include "plugin/engine/tools/MidiEventList.h"
#include "plugin/framework/AEffect.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstEvents.h"
#include "plugin/framework/VstTimeInfo.h"

namespace {

using EntryFunction = AEffect* (*)(audioMasterCallback);

constexpr VstIntPtr hostVersion = 2400;
constexpr unsigned char noteOnStatus = 0x90;
constexpr unsigned char noteOffStatus = 0x80;
// A host's buffer for a program name.
constexpr int nameCapacity = 256;

// The transport of the playing in progress; one rendering runs at a time.
struct Transport {
  VstTimeInfo time{};
  int32_t blockSize = 0;
};
Transport* currentTransport = nullptr;

VstIntPtr hostCallback(AEffect* /*effect*/, VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/,
                       void* /*ptr*/, float /*opt*/) {
  Transport* transport = currentTransport;
  switch (opcode) {
    case audioMasterVersion:
      return hostVersion;
    case audioMasterGetTime:
      return transport ? reinterpret_cast<VstIntPtr>(&transport->time) : 0;
    case audioMasterGetSampleRate:
      return transport ? static_cast<VstIntPtr>(transport->time.sampleRate) : 0;
    case audioMasterGetBlockSize:
      return transport ? transport->blockSize : 0;
    case audioMasterWantMidi:
      return 1;
    default:
      return 0;
  }
}

// Sends one note message per key, as one event list.
void sendNotes(AEffect* effect, unsigned char status, const std::vector<int32_t>& keys, int32_t velocity) {
  std::vector<std::vector<unsigned char>> messages;
  for (const int32_t key : keys) {
    messages.push_back({status, static_cast<unsigned char>(key & 0x7F), static_cast<unsigned char>(velocity & 0x7F)});
  }
  MidiEventList list(messages);
  effect->dispatcher(effect, effProcessEvents, 0, 0, list.get(), 0.0f);
}

int32_t blocksFor(double seconds, const PlayingSettings& settings) {
  return static_cast<int32_t>(std::ceil(seconds * settings.sampleRate / settings.blockSize));
}

// Selects the program of one playing, plays its keys in blocks and releases them; the transport moves on.
StereoRendering play(AEffect* effect, const PlayingSettings& settings, Transport& transport) {
  effect->dispatcher(effect, effSetProgram, 0, settings.program, nullptr, 0.0f);
  if (!settings.values.empty()) {
    // Edits are stored into the program; selecting it again starts from the edited values.
    for (std::size_t index = 0; index < settings.values.size(); ++index) {
      effect->setParameter(effect, static_cast<VstInt32>(index), settings.values[index]);
    }
    effect->dispatcher(effect, effSetProgram, 0, settings.program, nullptr, 0.0f);
  }

  StereoRendering rendering;
  const int32_t heldBlocks = blocksFor(settings.heldSeconds, settings);
  const int32_t totalBlocks = heldBlocks + blocksFor(settings.releasedSeconds, settings);
  const std::size_t frames = static_cast<std::size_t>(totalBlocks) * settings.blockSize;
  rendering.left.assign(frames, 0.0f);
  rendering.right.assign(frames, 0.0f);
  rendering.releaseFrame = heldBlocks * settings.blockSize;
  rendering.blockSize = settings.blockSize;
  rendering.sampleRate = settings.sampleRate;

  std::vector<float> silence(settings.blockSize, 0.0f);
  for (int32_t block = 0; block < totalBlocks; ++block) {
    if (block == 0) sendNotes(effect, noteOnStatus, settings.keys, settings.velocity);
    if (block == heldBlocks) sendNotes(effect, noteOffStatus, settings.keys, 0);
    const std::size_t start = static_cast<std::size_t>(block) * settings.blockSize;
    float* inputs[2] = {silence.data(), silence.data()};
    float* outputs[2] = {rendering.left.data() + start, rendering.right.data() + start};
    effect->processReplacing(effect, inputs, outputs, settings.blockSize);
    transport.time.samplePos += settings.blockSize;
    transport.time.ppqPos = transport.time.samplePos / settings.sampleRate * settings.tempo / 60.0;
  }
  return rendering;
}

}  // namespace

ProgramRenderer::ProgramRenderer(const std::string& dllPath) {
  library_ = LoadLibraryA(dllPath.c_str());
  if (!library_) return;
  entry_ = reinterpret_cast<void*>(GetProcAddress(library_, "VSTPluginMain"));
}

ProgramRenderer::~ProgramRenderer() {
  if (library_) FreeLibrary(library_);
}

std::string ProgramRenderer::programName(int32_t program) const {
  if (!entry_) return {};
  const auto entry = reinterpret_cast<EntryFunction>(entry_);
  AEffect* effect = entry(&hostCallback);
  if (!effect || effect->magic != kEffectMagic) return {};
  char name[nameCapacity] = {};
  effect->dispatcher(effect, effGetProgramNameIndexed, program, 0, name, 0.0f);
  name[nameCapacity - 1] = '\0';
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return name;
}

StereoRendering ProgramRenderer::render(const PlayingSettings& settings) const {
  StereoRendering rendering;
  renderInTurn({settings}, [&rendering](const StereoRendering& done) { rendering = done; });
  return rendering;
}

void ProgramRenderer::renderInTurn(const std::vector<PlayingSettings>& playings,
                                   const std::function<void(const StereoRendering&)>& take) const {
  if (!entry_ || playings.empty()) return;
  const PlayingSettings& first = playings.front();
  if (first.blockSize < 1 || first.sampleRate <= 0.0) return;
  Transport transport;
  transport.blockSize = first.blockSize;
  transport.time.sampleRate = first.sampleRate;
  transport.time.tempo = first.tempo;
  transport.time.timeSigNumerator = 4;
  transport.time.timeSigDenominator = 4;
  transport.time.flags = kVstTransportPlaying | kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
  currentTransport = &transport;

  const auto entry = reinterpret_cast<EntryFunction>(entry_);
  AEffect* effect = entry(&hostCallback);
  if (!effect || effect->magic != kEffectMagic || effect->numOutputs < 2) {
    currentTransport = nullptr;
    return;
  }
  effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(first.sampleRate));
  effect->dispatcher(effect, effSetBlockSize, 0, first.blockSize, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
  for (const PlayingSettings& playing : playings) {
    PlayingSettings settings = playing;
    settings.sampleRate = first.sampleRate;
    settings.blockSize = first.blockSize;
    settings.tempo = first.tempo;
    take(play(effect, settings, transport));
  }
  effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  currentTransport = nullptr;
}
