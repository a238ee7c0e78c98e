#include "plugin/editor/FilterResponse.h"

#include <algorithm>

#include "plugin/engine/ParameterMenu.h"
#include "plugin/engine/filters/FilterSelection.h"
#include "plugin/engine/filters/FilterTypeMap.h"

namespace {

// The routing menu's entries as the display draws them.
enum Routing : std::int32_t {
  Bypass,
  Filter1,
  Filter2,
  Serial,
  Parallel,
  Difference,
  Stereo,
  LastShown = Stereo,
};

constexpr float impulseHeight = 100000.0f;
constexpr std::int32_t flatBarHeight = 52;

// The internal type of a stored filter-type value; a value outside the menu shows no filter.
std::int32_t filterType(float value) {
  return filterTypeForEntry(decodeMenuEntry(value, MenuDecode::Fine));
}

}  // namespace

FilterResponse::FilterResponse() {
  responseState.clear();
}

bool FilterResponse::compute(const FilterSettings& settings, std::int32_t* columns, std::uint8_t& mode) {
  const std::int32_t type1 = filterType(settings.filterType1);
  const std::int32_t type2 = filterType(settings.filterType2);
  const std::int32_t routing = decodeMenuEntry(settings.routing, MenuDecode::Coarse);
  if (static_cast<std::uint32_t>(routing) > static_cast<std::uint32_t>(LastShown)) return false;

  mode = BothFilters;
  switch (routing) {
    case Bypass:
      std::fill(columns, columns + columnCount, flatBarHeight);
      return true;
    case Filter1:
      runFilter(impulseA, type1, settings.cutoff1, settings.resonance1);
      mode = FirstFilter;
      break;
    case Filter2:
      runFilter(impulseA, type2, settings.cutoff2, settings.resonance2);
      mode = SecondFilter;
      break;
    case Serial:
      runFilter(impulseA, type1, settings.cutoff1, settings.resonance1);
      filterAgain(impulseA, type2, settings.cutoff2, settings.resonance2);
      break;
    default:
      runFilter(impulseA, type1, settings.cutoff1, settings.resonance1);
      runFilter(impulseB, type2, settings.cutoff2, settings.resonance2);
      for (std::int32_t i = 0; i < sampleCount; ++i) {
        impulseA[i] =
            routing == Difference ? (impulseA[i] - impulseB[i]) * 0.5f : (impulseB[i] + impulseA[i]) * 0.5f;
      }
      break;
  }

  ResponseSpectrum::computeSpectrum(impulseA, columns);
  for (std::int32_t c = 0; c < columnCount; ++c) columns[c] = ResponseSpectrum::barHeight(columns[c]);
  return true;
}

void FilterResponse::runFilter(float* buffer, std::int32_t type, float cutoff, float resonance) {
  std::fill(buffer, buffer + sampleCount, 0.0f);
  buffer[0] = impulseHeight;
  filterAgain(buffer, type, cutoff, resonance);
}

void FilterResponse::filterAgain(float* buffer, std::int32_t type, float cutoff, float resonance) {
  responseKernel = selectFilterKernel(sampleRate, type, cutoff, resonance, &responseState);
  resetFilterState(&responseState);
  responseKernel(buffer, sampleCount, &responseState);
}
