#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// How one program is played: keys pressed together at the start, held, then released together.
struct PlayingSettings {
  int32_t program = 0;
  std::vector<int32_t> keys = {48};
  int32_t velocity = 100;
  double heldSeconds = 3.0;
  double releasedSeconds = 3.0;
  double sampleRate = 44100.0;
  int32_t blockSize = 512;
  double tempo = 120.0;
  // When not empty, the 48 parameter values that replace the program's own before it plays.
  std::vector<float> values;
};

// What the instrument played: both output channels, and the frame at which the key was released
// (always the start of a block).
struct StereoRendering {
  std::vector<float> left;
  std::vector<float> right;
  int32_t releaseFrame = 0;
  int32_t blockSize = 0;
  double sampleRate = 0.0;
};

// Plays programs of a VST 2.4 instrument DLL as a host does: MIDI through the event opcode, a steady
// tempo in the time info, a fresh effect for every rendering or one effect for playings in turn.
class ProgramRenderer {
 public:
  // Loads the DLL; loaded() is false when the library or its entry is missing.
  explicit ProgramRenderer(const std::string& dllPath);
  ~ProgramRenderer();

  ProgramRenderer(const ProgramRenderer&) = delete;
  ProgramRenderer& operator=(const ProgramRenderer&) = delete;

  bool loaded() const { return entry_ != nullptr; }

  // The name of a program as the effect reports it; empty when the effect cannot be created.
  std::string programName(int32_t program) const;

  // Renders one playing in a fresh effect; empty channels when the effect cannot be created.
  StereoRendering render(const PlayingSettings& settings) const;

  // Renders the playings one after the other in one effect, as a host that selects one program after
  // another without stopping, and hands each rendering to take when it is done (nothing when the effect
  // cannot be created). The first playing's sample rate, block size and tempo hold for all.
  void renderInTurn(const std::vector<PlayingSettings>& playings,
                    const std::function<void(const StereoRendering&)>& take) const;

 private:
  HMODULE library_ = nullptr;
  void* entry_ = nullptr;
};
