#include "plugin/engine/presets/PresetDialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "plugin/engine/presets/PresetFile.h"
#include "plugin/engine/presets/PresetImage.h"

namespace {

// One kind of preset file: the dialog's filter, the extension a saved name gets, and how its
// image is made and applied.
struct PresetKind {
  const char* filter;
  const char* extension;
  std::vector<unsigned char> (*build)(OmAudio& effect);
  bool (*load)(OmAudio& effect, const unsigned char* data, std::size_t size);
};

// Display text and pattern pairs; the literal's own terminator ends the list with a second zero.
const PresetKind singlePreset{"Zintara3 single preset (*.fxp)\0*.fxp\0All files(*.*)\0*.*\0", ".fxp",
                              buildSinglePresetData, loadSinglePresetData};
const PresetKind bank{"Zintara3 preset bank (*.fxb)\0*.fxb\0All files(*.*)\0*.*\0", ".fxb", buildBankData,
                      loadBankData};

// The last chosen file, with which every dialog starts.
char lastFileName[MAX_PATH] = "";

enum class Choice { chosen, cancelled, failed };

// Shows the dialog; when the user chose a file its name is in path. The open dialog takes only the
// name of an existing file. Each dialog works on its own copy of the last name, so one opened by
// another editor meanwhile cannot change its answer.
Choice chooseFile(const PresetKind& kind, HWND owner, bool forSaving, std::string& path) {
  char name[MAX_PATH];
  lstrcpynA(name, lastFileName, MAX_PATH);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kind.filter;
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  if (!forSaving) dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  const BOOL chosen = forSaving ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  if (!chosen) return CommDlgExtendedError() == 0 ? Choice::cancelled : Choice::failed;
  lstrcpynA(lastFileName, name, MAX_PATH);
  path = name;
  return Choice::chosen;
}

PresetDialogResult resultOf(Choice choice) {
  return choice == Choice::cancelled ? PresetDialogResult::cancelled : PresetDialogResult::failed;
}

bool isExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Asks whether the existing file at path may be replaced; the safe answer is the default.
bool mayReplace(HWND owner, const std::string& path) {
  const std::string question = path + " already exists.\nDo you want to replace it?";
  return MessageBoxA(owner, question.c_str(), "Zintara3", MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// The file is asked about once it has its extension, so the question names the file that would be
// replaced. Refused, the dialog comes back for another name.
PresetDialogResult saveDialog(OmAudio& effect, HWND owner, const PresetKind& kind) {
  std::string target;
  do {
    std::string path;
    const Choice choice = chooseFile(kind, owner, true, path);
    if (choice != Choice::chosen) return resultOf(choice);
    target = withPresetExtension(path, kind.extension);
  } while (isExistingFile(target) && !mayReplace(owner, target));
  const bool saved = writePresetFile(target, kind.build(effect));
  return saved ? PresetDialogResult::done : PresetDialogResult::failed;
}

PresetDialogResult loadDialog(OmAudio& effect, HWND owner, const PresetKind& kind) {
  std::string path;
  const Choice choice = chooseFile(kind, owner, false, path);
  if (choice != Choice::chosen) return resultOf(choice);
  std::vector<unsigned char> image;
  const bool loaded =
      readPresetFile(path, largestPresetImage, image) && kind.load(effect, image.data(), image.size());
  return loaded ? PresetDialogResult::done : PresetDialogResult::failed;
}

}  // namespace

PresetDialogResult saveSinglePresetDialog(OmAudio& effect, HWND owner) {
  return saveDialog(effect, owner, singlePreset);
}

PresetDialogResult saveBankDialog(OmAudio& effect, HWND owner) {
  return saveDialog(effect, owner, bank);
}

PresetDialogResult loadSinglePresetDialog(OmAudio& effect, HWND owner) {
  return loadDialog(effect, owner, singlePreset);
}

PresetDialogResult loadBankDialog(OmAudio& effect, HWND owner) {
  return loadDialog(effect, owner, bank);
}

std::string withPresetExtension(const std::string& name, const std::string& extension) {
  const std::string letters = extension.substr(1);
  const bool hasLetters = name.size() >= letters.size() &&
                          lstrcmpiA(name.c_str() + name.size() - letters.size(), letters.c_str()) == 0;
  return hasLetters ? name : name + extension;
}
