#pragma once

#include <cstdint>

// Texts handed out about parameters: names, labels and display strings. Every text is written
// with a bound of parameterTextCapacity bytes, terminator included.
constexpr int32_t parameterTextCapacity = 32;

// The display text of any value of parameter index; the empty text for an index outside 0..46.
void formatParameterText(int32_t index, float value, char* text);

// The name of parameter index, "?" for an index outside 0..47.
void writeParameterName(int32_t index, char* text);

// The unit label of parameter index, "?" for an index outside 0..47.
void writeParameterLabel(int32_t index, char* text);
