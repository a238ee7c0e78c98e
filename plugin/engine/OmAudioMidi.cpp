#include "plugin/engine/OmAudio.h"

#include <cmath>

#include "plugin/engine/ParameterInfo.h"

namespace {

constexpr int32_t noteOffStatus = 0x80;
constexpr int32_t noteOnStatus = 0x90;
constexpr int32_t controllerStatus = 0xB0;
constexpr int32_t programChangeStatus = 0xC0;
constexpr int32_t pitchBendStatus = 0xE0;
constexpr int32_t allNotesOffController = 127;

constexpr float midiValueScale = 0.0078125f;  // 1/128
constexpr float keyLevelScale = 0.0625f;

constexpr float defaultTempo = 120.0f;

int32_t dataByte(int32_t byte) {
  return byte & 0x7F;
}

// The pitch factor of a bend message's most significant byte: about two semitones each way.
float pitchBendFactor(int32_t data2) {
  float x = static_cast<float>(data2 - 64) * 0.015625f;
  if (x > 0.0f) x *= 1.015873f;
  return std::exp(x * 2.0f * 0.059f);
}

}  // namespace

int32_t OmAudio::processEvents(VstEvents* events) {
  if (!events) return 1;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    const VstEvent* event = events->events[i];
    if (!event || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    handleMidi(static_cast<unsigned char>(midi->midiData[0]) & 0xF0, dataByte(midi->midiData[1]),
               dataByte(midi->midiData[2]));
  }
  return 1;
}

void OmAudio::handleMidi(int32_t status, int32_t data1, int32_t data2) {
  const int32_t armed = learnTarget.exchange(-1);
  if (armed != -1 && status == controllerStatus) controllerMap[data1] = armed;

  if (status == controllerStatus && controllerMap[data1] != unassignedController) {
    setParameter(controllerMap[data1], static_cast<float>(data2) * midiValueScale);
  }
  switch (status) {
    case programChangeStatus:
      setProgram(data1 < programCount ? data1 : programCount - 1);
      updateDisplay();
      break;
    case pitchBendStatus:
      pitchBend = pitchBendFactor(data2);
      break;
    case noteOnStatus:
      if (data2 != 0) {
        noteOn(static_cast<int8_t>(data1), static_cast<int8_t>(data2));
      } else {
        noteOff(static_cast<int8_t>(data1));
      }
      break;
    case noteOffStatus:
      noteOff(static_cast<int8_t>(data1));
      break;
    case controllerStatus:
      if (data1 == allNotesOffController) releaseAllKeys();
      break;
    default:
      break;
  }
}

void OmAudio::setLearnParameter(int32_t index) {
  learnTarget = index;
}

void OmAudio::noteOn(int8_t key, int8_t velocity) {
  sleeping = false;
  sound->noteStarted();
  fadeGain = 1.0f;
  const float level = static_cast<float>(dataByte(velocity)) * midiValueScale;
  keyTarget[dataByte(key)] = level * keyLevelScale;
  gate = level;
  stepBeats = 0.0f;
  if (decodeParameterEntry(ParameterIndex::Lfo1Sync, values[ParameterIndex::Lfo1Sync]) >= 1) {
    lfo1Beats = lfo1Phase = lfo1LastPhase = 0.0f;
  }
  if (decodeParameterEntry(ParameterIndex::Lfo2Sync, values[ParameterIndex::Lfo2Sync]) >= 1) {
    lfo2Beats = lfo2Phase = lfo2LastPhase = 0.0f;
  }
}

void OmAudio::noteOff(int8_t key) {
  gate = 0.0f;
  keyTarget[dataByte(key)] = 0.0f;
  sleeping = false;
}

void OmAudio::releaseAllKeys() {
  for (float& target : keyTarget) target = 0.0f;
  gate = 0.0f;
  sleeping = false;
}

float OmAudio::getTempo() {
  const VstTimeInfo* info = getTimeInfo(kVstTempoValid);
  if (!info || !(info->flags & kVstTempoValid) || !(info->tempo > 0.0)) return defaultTempo;
  return static_cast<float>(info->tempo);
}

double OmAudio::getPpqPos() {
  const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid);
  return info ? info->ppqPos : 0.0;
}

bool OmAudio::isPlaying() {
  const VstTimeInfo* info = getTimeInfo(kVstTransportPlaying);
  return !info || (info->flags & kVstTransportPlaying) != 0;
}
