#pragma once

#include "plugin/framework/VstTypes.h"

// The number formats behind the effect's display-text helpers. Each writes at most maxLen characters
// and a terminator into text (which holds maxLen + 1 bytes).

// Eight characters for the sign, the integer digits, the point and as many fraction digits as fit
// (truncated); "Huge!" beyond -9999999 and 99999999. An integer part that fills all eight characters
// is written without the point.
void writeFloatText(float value, char* text, VstInt32 maxLen);

// The decimal digits with a leading "-" for negatives; "Huge!" from 100000000 upward.
void writeIntText(VstInt32 value, char* text, VstInt32 maxLen);

// Copies source, cut to maxLen characters, and terminates it.
void writeCutText(const char* source, char* text, VstInt32 maxLen);
