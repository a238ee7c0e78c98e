#pragma once

#include "plugin/framework/AEffect.h"

#include <map>
#include <vector>

// One call an effect made to its host.
struct HostCall {
  AEffect* effect;
  VstInt32 opcode;
  VstInt32 index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

// A host callback that records every call and answers what a test sets per opcode. There is one
// recorder per process, since a host callback is a plain function; each test resets it.
class RecordingHost {
 public:
  static RecordingHost& instance();
  // The callback to hand to an effect or to a plug-in's entry.
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt);

  // Forgets the calls; every opcode answers 0 except audioMasterVersion, which answers 2400.
  void reset();
  void answer(VstInt32 opcode, VstIntPtr answer) { answers[opcode] = answer; }

  const std::vector<HostCall>& calls() const { return recorded; }
  // The calls with this opcode, in order.
  std::vector<HostCall> callsWith(VstInt32 opcode) const;

 private:
  RecordingHost() { reset(); }

  std::vector<HostCall> recorded;
  std::map<VstInt32, VstIntPtr> answers;
};
