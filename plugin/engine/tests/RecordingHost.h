#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/framework/AEffect.h"
#include "plugin/framework/VstTimeInfo.h"

// A minimal VST 2.4 host for tests: loads a plug-in DLL, opens one effect through its entry, sends
// opcodes as a host does and records every call the effect makes back.
class RecordingHost {
 public:
  struct Call {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
  };

  // Loads the DLL at path and creates its effect; effect() is null when either fails.
  explicit RecordingHost(const std::string& dllPath);
  ~RecordingHost();

  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  AEffect* effect() const { return effect_; }

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  // The text an opcode writes into a host buffer of 256 bytes.
  std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0);
  VstIntPtr canDo(const std::string& capability);
  void setParameter(VstInt32 index, float value);
  float getParameter(VstInt32 index);
  std::string display(VstInt32 index, float value);

  // Sends three-byte MIDI messages as one event list, as a host does before a block.
  VstIntPtr sendMidi(const std::vector<std::vector<unsigned char>>& messages);

  // Closes the effect (the effect is deleted); the library stays loaded until destruction.
  void close();

  // The calls the effect made to the host, in order, and how many had a given opcode.
  const std::vector<Call>& calls() const { return calls_; }
  int countCalls(VstInt32 opcode) const;
  void clearCalls() { calls_.clear(); }

  // What audioMasterGetTime answers: this record, or null when disabled.
  VstTimeInfo timeInfo{};
  bool answersTimeInfo = true;

 private:
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);

  HMODULE library_ = nullptr;
  AEffect* effect_ = nullptr;
  std::vector<Call> calls_;
};
