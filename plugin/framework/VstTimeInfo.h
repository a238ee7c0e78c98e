#pragma once

#include "plugin/framework/VstTypes.h"

#include <cstddef>

// Bits of VstTimeInfo::flags; the "valid" bits also form the filter mask of a time-info request.
enum VstTimeInfoFlags {
  kVstTransportChanged = 1,
  kVstTransportPlaying = 2,
  kVstTransportCycleActive = 4,
  kVstTransportRecording = 8,
  kVstAutomationWriting = 64,
  kVstAutomationReading = 128,
  kVstNanosValid = 256,
  kVstPpqPosValid = 512,
  kVstTempoValid = 1024,
  kVstBarsValid = 2048,
  kVstCyclePosValid = 4096,
  kVstTimeSigValid = 8192,
  kVstSmpteValid = 16384,
  kVstClockValid = 32768,
};

// The host's transport and clock, answered to audioMasterGetTime.
struct VstTimeInfo {
  double samplePos;
  double sampleRate;
  double nanoSeconds;
  double ppqPos;
  double tempo;
  double barStartPos;
  double cycleStartPos;
  double cycleEndPos;
  VstInt32 timeSigNumerator;
  VstInt32 timeSigDenominator;
  VstInt32 smpteOffset;
  VstInt32 smpteFrameRate;
  VstInt32 samplesToNextClock;
  VstInt32 flags;  // VstTimeInfoFlags
};

static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, samplePos) == 0, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, sampleRate) == 8, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, nanoSeconds) == 16, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, ppqPos) == 24, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, tempo) == 32, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, barStartPos) == 40, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleStartPos) == 48, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, cycleEndPos) == 56, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigDenominator) == 68, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, smpteOffset) == 72, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, smpteFrameRate) == 76, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, samplesToNextClock) == 80, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");
