#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Preset files on disk, whole images read and written at once.

// Writes image as the file at path, created or replaced. The bytes go first to a new file in the
// same folder, which then takes the place of path, so a failure at any step leaves an existing
// file at path as it was. A read-only file is not replaced. Answers whether the file now holds the
// image.
bool writePresetFile(const std::string& path, const std::vector<unsigned char>& image);

// Reads the file at path, opened without sharing, into image: all of it, or its first maxBytes
// when it is longer. Answers false, with image empty, when the file cannot be opened or read.
bool readPresetFile(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>& image);
