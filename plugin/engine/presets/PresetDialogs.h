#pragma once

#include <windows.h>

#include <string>

class OmAudio;

// The editor's preset buttons: each asks the user for a file with the standard Windows file
// dialog, then saves the effect's current program or all its programs there, or loads such a
// file into the effect. Saving over an existing file asks first; opening takes only existing files. They run
// on the GUI thread. The editor passes its window (or null): the window that holds it is disabled while the
// dialog is open, so the host cannot close the effect under a dialog that is about to use it.

enum class PresetDialogResult {
  // The user closed the dialog without choosing a file; nothing happened.
  cancelled,
  // The chosen file was written, or read and applied.
  done,
  // The dialog could not be shown, the file could not be written or read, or it held no sound
  // preset of this plug-in; the effect and any existing file are unchanged.
  failed,
};

PresetDialogResult saveSinglePresetDialog(OmAudio& effect, HWND owner);
PresetDialogResult saveBankDialog(OmAudio& effect, HWND owner);
PresetDialogResult loadSinglePresetDialog(OmAudio& effect, HWND owner);
PresetDialogResult loadBankDialog(OmAudio& effect, HWND owner);

// The file name under which a chosen name is saved: extension (".fxp" or ".fxb") is appended
// unless the name already ends in its letters after the dot, in any case.
std::string withPresetExtension(const std::string& name, const std::string& extension);
