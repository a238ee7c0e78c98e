#pragma once

#include "plugin/framework/VstTypes.h"

// Opcodes a host sends through AEffect::dispatcher. Names marked deprecated are answered with 0.
enum AEffectOpcodes {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effGetVu = 9,  // deprecated
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditDraw = 16,   // deprecated
  effEditMouse = 17,  // deprecated
  effEditKey = 18,    // deprecated
  effEditIdle = 19,
  effEditTop = 20,    // deprecated
  effEditSleep = 21,  // deprecated
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,

  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effString2Parameter = 27,
  effGetNumProgramCategories = 28,  // deprecated
  effGetProgramNameIndexed = 29,
  effCopyProgram = 30,    // deprecated
  effConnectInput = 31,   // deprecated
  effConnectOutput = 32,  // deprecated
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effGetCurrentPosition = 36,    // deprecated
  effGetDestinationBuffer = 37,  // deprecated
  effOfflineNotify = 38,
  effOfflinePrepare = 39,
  effOfflineRun = 40,
  effProcessVarIo = 41,
  effSetSpeakerArrangement = 42,
  effSetBlockSizeAndSampleRate = 43,  // deprecated
  effSetBypass = 44,
  effGetEffectName = 45,
  effGetErrorText = 46,  // deprecated
  effGetVendorString = 47,
  effGetProductString = 48,
  effGetVendorVersion = 49,
  effVendorSpecific = 50,
  effCanDo = 51,
  effGetTailSize = 52,
  effIdle = 53,             // deprecated
  effGetIcon = 54,          // deprecated
  effSetViewPosition = 55,  // deprecated
  effGetParameterProperties = 56,
  effKeysRequired = 57,  // deprecated
  effGetVstVersion = 58,
  effEditKeyDown = 59,
  effEditKeyUp = 60,
  effSetEditKnobMode = 61,
  effGetMidiProgramName = 62,
  effGetCurrentMidiProgram = 63,
  effGetMidiProgramCategory = 64,
  effHasMidiProgramsChanged = 65,
  effGetMidiKeyName = 66,
  effBeginSetProgram = 67,
  effEndSetProgram = 68,
  effGetSpeakerArrangement = 69,
  effShellGetNextPlugin = 70,
  effStartProcess = 71,
  effStopProcess = 72,
  effSetTotalSampleToProcess = 73,
  effSetPanLaw = 74,
  effBeginLoadBank = 75,
  effBeginLoadProgram = 76,
  effSetProcessPrecision = 77,
  effGetNumMidiInputChannels = 78,
  effGetNumMidiOutputChannels = 79,
};

// The answer to effIdentify: 'NvEf'.
constexpr VstInt32 kEffectIdentify = 0x4E764566;
