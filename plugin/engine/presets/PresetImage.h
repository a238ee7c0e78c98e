#pragma once

#include <cstddef>
#include <vector>

class OmAudio;

// The instrument's VST preset files as images in memory: one program as an fxp image, all programs
// as an fxb bank. Both are big-endian; every field is laid out in PresetImage.cpp.

// An fxp image of one program with all 48 values, and an fxb image of all 159 such programs.
constexpr std::size_t singlePresetSize = 248;
constexpr std::size_t bankSize = 39588;
// No loader looks past this many bytes of an image.
constexpr std::size_t largestPresetImage = bankSize;

// The fxp image of the current program: its name and the live parameter values.
std::vector<unsigned char> buildSinglePresetData(OmAudio& effect);
// The fxb image of all programs: their names and stored values.
std::vector<unsigned char> buildBankData(OmAudio& effect);

// Applies an fxp image to the current program (its name, then its values through setParameter,
// so an open editor follows) and asks the host to refresh its display. Values outside 0..1 count as
// the nearer end. Answers false and changes nothing when the image is not a program of this plug-in
// (all four characters of its id are checked) or is damaged: shorter than its counts demand, more
// than 48 values, or a value that is not a finite number.
bool loadSinglePresetData(OmAudio& effect, const unsigned char* data, std::size_t size);

// Replaces the first programs with those of an fxb image (values limited to 0..1 as above), selects
// program 0 and asks the host to refresh its display. A bank is checked whole before any program changes: one
// that is not this plug-in's, holds more than 159 programs or is damaged in any of them answers false and
// changes nothing.
bool loadBankData(OmAudio& effect, const unsigned char* data, std::size_t size);
