#pragma once

#include <cstdint>

#include "plugin/editor/ResponseSpectrum.h"
#include "plugin/engine/filters/FilterState.h"

// What the response display needs of the effect: the stored values of "Filtert1", "Filtert2" and
// "Routing", and the filters' current (modulated) cutoffs and resonances.
struct FilterSettings {
  float filterType1 = 0.0f;
  float filterType2 = 0.0f;
  float routing = 0.0f;
  float cutoff1 = 0.0f;
  float cutoff2 = 0.0f;
  float resonance1 = 0.0f;
  float resonance2 = 0.0f;
};

// The bar curve of the scope: an impulse through an instance of the filter engine of its own (the same
// selection and kernels as the sound, always at 48 kHz), combined as the routing combines the two
// filters, as a windowed spectrum on a logarithmic frequency axis. Large (it holds a whole filter
// state): keep it inside a heap object.
class FilterResponse {
 public:
  static constexpr std::int32_t columnCount = ResponseSpectrum::columnCount;
  static constexpr std::int32_t sampleRate = 48000;

  // Which filters are heard: only filter 1, only filter 2, or both (also for the bypass).
  enum Mode : std::uint8_t { FirstFilter = 0, SecondFilter = 1, BothFilters = 2 };

  FilterResponse();
  FilterResponse(const FilterResponse&) = delete;
  FilterResponse& operator=(const FilterResponse&) = delete;

  // Writes the bar heights and the mode; answers false, writing nothing, for a routing that the
  // display cannot show ("AM 1=L 2=R" or a value outside the menu), so the previous curve stays.
  bool compute(const FilterSettings& settings, std::int32_t* columns, std::uint8_t& mode);

 private:
  static constexpr std::int32_t sampleCount = ResponseSpectrum::sampleCount;

  // The impulse response of one filter into buffer.
  void runFilter(float* buffer, std::int32_t type, float cutoff, float resonance);
  // Runs another filter over buffer, which already holds a response.
  void filterAgain(float* buffer, std::int32_t type, float cutoff, float resonance);

  float impulseA[sampleCount] = {};
  float impulseB[sampleCount] = {};
  FilterState responseState;
  FilterKernel responseKernel = nullptr;
};
