#pragma once

#include <cstdint>
#include <string>

// The MIDI controller map and the settings file that keeps it beside the plug-in's DLL: one
// setting byte, then one byte per controller (a parameter index 0..47, or 0xFF for none).
constexpr int32_t controllerCount = 128;
constexpr int32_t unassignedController = -1;
constexpr int32_t defaultSettingByte = 1;
constexpr int32_t settingsFileSize = 1 + controllerCount;
constexpr const char* settingsFileName = "zintara.cfg";

// Fills map with the controllers that are assigned before anything is learned.
void setDefaultControllerMap(int32_t* map);

// Reads a whole settings file into settingByte and map. A file that cannot be opened or holds
// fewer than its 129 bytes leaves both untouched and answers false. A map byte that names no
// parameter reads as unassigned.
bool readSettingsFile(const std::string& path, int32_t& settingByte, int32_t* map);

// Writes the 129 bytes of the settings file; an entry that names no parameter is written as
// unassigned. Answers false when the file cannot be written.
bool writeSettingsFile(const std::string& path, int32_t settingByte, const int32_t* map);
