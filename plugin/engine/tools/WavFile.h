#pragma once

#include <string>

#include "plugin/engine/tools/ProgramRenderer.h"

// Writes a rendering as a 32-bit float stereo WAV file; false when the file cannot be written.
bool writeWavFile(const std::string& path, const StereoRendering& rendering);
