#pragma once

#include <boost/signals2/signal.hpp>
#include <string>

#include "host/hosting/PackedMidiEvent.h"
#include "host/hosting/PatchInfo.h"
#include "host/hosting/PluginKeyEvent.h"

namespace Ombix::Kelvane {

// A loaded plug-in as the rest of the host sees it: opened at a block size and rate, fed with MIDI
// and audio blocks, its editor opened in a parent window, its programs listed and chosen.
class IAudioProcessor {
 public:
  virtual ~IAudioProcessor() = default;

  boost::signals2::signal<void()> UpdateDisplay;       // the plug-in asked for a display refresh
  boost::signals2::signal<void()> ProgramListChanged;  // the plug-in's program names changed
  boost::signals2::signal<void(int width, int height)> SizeChanged;
  boost::signals2::signal<void(int program)> ProgramChanged;
  boost::signals2::signal<void(int parameter)> ParameterChanged;

  virtual void Open(int blockSize, double sampleRate) = 0;
  virtual void Process(float** inputs, float** outputs, int frames) = 0;
  virtual std::intptr_t ProcessEvents(int count, const PackedMidiEvent* events) = 0;
  virtual void OpenEditor(void* parentWindow) = 0;
  virtual void CloseEditor() = 0;
  virtual void EditorIdle() = 0;
  virtual std::string ProductString() = 0;
  virtual std::string VendorString() = 0;
  virtual int NumInputs() = 0;
  virtual int NumOutputs() = 0;
  virtual void SetSampleRate(double rate) = 0;
  virtual void SetBlockSize(int frames) = 0;
  virtual bool KeyDown(const PluginKeyEvent& key) = 0;
  virtual bool KeyUp(const PluginKeyEvent& key) = 0;
  virtual int NumPrograms() = 0;
  virtual bool ProgramName(unsigned index, PatchInfo& patch) = 0;
  virtual std::intptr_t SetProgram(unsigned index) = 0;
};

}  // namespace Ombix::Kelvane
