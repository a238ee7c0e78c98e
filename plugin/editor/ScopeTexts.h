#pragma once

#include <cstdint>

// The scope's tips and help texts: each entry lists up to five lines and ends with a null.
namespace ScopeTexts {

constexpr std::int32_t tipCount = 13;
constexpr std::int32_t helpTopicCount = 19;
constexpr std::int32_t maxLines = 5;

// Tip index 0..12.
const char* const* tip(std::int32_t index);
// Help topic 0..18 (18: MIDI learn armed).
const char* const* help(std::int32_t topic);

}  // namespace ScopeTexts
