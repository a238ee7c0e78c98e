#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "LocalEffectFixture.h"
#include "plugin/engine/presets/PresetDialogs.h"
#include "plugin/engine/presets/PresetFile.h"
#include "plugin/engine/presets/PresetImage.h"
#include "tests/support/TestPaths.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Control ids of the standard file dialog: the file-type list and the file-name field (an edit in
// some versions, a combo box with an edit in others).
constexpr int fileTypeList = 0x470;
constexpr int fileNameEdit = 0x480;
constexpr int fileNameCombo = 0x47C;

// Plays the user of the next file dialog that the creating thread opens: types a path and
// confirms, or cancels when the path is empty. A dialog that stays open is cancelled after a
// while, so that a test never waits for ever.
class DialogUser {
 public:
  explicit DialogUser(std::string path) : dialogThread_(GetCurrentThreadId()), path_(std::move(path)) {
    thread_ = std::thread([this] { run(); });
  }
  ~DialogUser() {
    stop_ = true;
    thread_.join();
  }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

  bool sawDialog() const { return sawDialog_; }
  // The entries of the dialog's file-type list, read before the answer.
  std::vector<std::string> fileTypes() const { return fileTypes_; }
  // The file name that the dialog showed when it opened.
  std::string initialName() const { return initialName_; }
  // The dialog's owner window and whether it took input while the dialog was open.
  HWND dialogOwner() const { return dialogOwner_; }
  bool ownerEnabled() const { return ownerEnabled_; }

 private:
  static BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }

  void run() {
    HWND dialog = nullptr;
    for (int wait = 0; wait < 1200 && !stop_ && !dialog; ++wait) {
      EnumThreadWindows(dialogThread_, findDialog, reinterpret_cast<LPARAM>(&dialog));
      if (!dialog) Sleep(50);
    }
    if (!dialog) return;
    sawDialog_ = true;
    Sleep(200);
    dialogOwner_ = GetWindow(dialog, GW_OWNER);
    ownerEnabled_ = dialogOwner_ && IsWindowEnabled(dialogOwner_);
    readFileTypes(dialog);
    char name[MAX_PATH] = {};
    if (!GetDlgItemTextA(dialog, fileNameEdit, name, MAX_PATH))
      GetDlgItemTextA(dialog, fileNameCombo, name, MAX_PATH);
    initialName_ = name;
    if (path_.empty()) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      SetDlgItemTextA(dialog, fileNameCombo, path_.c_str());
      SetDlgItemTextA(dialog, fileNameEdit, path_.c_str());
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    for (int wait = 0; wait < 400 && !stop_ && IsWindow(dialog); ++wait) Sleep(50);
    while (!stop_ && IsWindow(dialog)) {
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      Sleep(500);
    }
  }

  void readFileTypes(HWND dialog) {
    const HWND list = GetDlgItem(dialog, fileTypeList);
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
      char text[256] = {};
      if (SendMessageA(list, CB_GETLBTEXTLEN, item, 0) < LRESULT{sizeof text}) {
        SendMessageA(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
      }
      fileTypes_.push_back(text);
    }
  }

  const DWORD dialogThread_;
  const std::string path_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> sawDialog_{false};
  std::vector<std::string> fileTypes_;
  std::string initialName_;
  HWND dialogOwner_ = nullptr;
  bool ownerEnabled_ = false;
  std::thread thread_;
};

class PresetDialogTest : public LocalEffectFixture {
 protected:
  void SetUp() override {
    LocalEffectFixture::SetUp();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    files = Testing::makeTempFolder(std::string("preset-dialogs-") + test->name());
  }

  static Bytes contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  std::string files;
};

const std::vector<std::string> singleTypes{"Zintara3 single preset (*.fxp)", "All files(*.*)"};
const std::vector<std::string> bankTypes{"Zintara3 preset bank (*.fxb)", "All files(*.*)"};

TEST_F(PresetDialogTest, SavesTheCurrentProgramUnderTheChosenNameWithItsExtension) {
  effect->setProgram(33);
  DialogUser user(files + "saved");
  ASSERT_EQ(saveSinglePresetDialog(*effect, nullptr), PresetDialogResult::done);
  EXPECT_TRUE(user.sawDialog());
  EXPECT_EQ(user.fileTypes(), singleTypes);
  EXPECT_EQ(contents(files + "saved.fxp"), buildSinglePresetData(*effect));
}

TEST_F(PresetDialogTest, SavesTheBankUnderTheChosenName) {
  DialogUser user(files + "all.fxb");
  ASSERT_EQ(saveBankDialog(*effect, nullptr), PresetDialogResult::done);
  EXPECT_EQ(user.fileTypes(), bankTypes);
  EXPECT_EQ(contents(files + "all.fxb"), buildBankData(*effect));
}

TEST_F(PresetDialogTest, LoadsTheChosenFiles) {
  effect->setProgram(2);
  ASSERT_TRUE(writePresetFile(files + "two.fxp", buildSinglePresetData(*effect)));
  ASSERT_TRUE(writePresetFile(files + "all.fxb", buildBankData(*effect)));
  const float volume = effect->getParameter(ParameterIndex::Volume);
  effect->setParameter(ParameterIndex::Volume, volume / 2);
  effect->setProgram(5);
  effect->setParameter(ParameterIndex::Volume, 0.0f);

  {
    DialogUser user(files + "two.fxp");
    ASSERT_EQ(loadSinglePresetDialog(*effect, nullptr), PresetDialogResult::done);
    EXPECT_EQ(user.fileTypes(), singleTypes);
  }
  EXPECT_EQ(effect->getProgram(), 5);
  EXPECT_STREQ(effect->programs[5].name, effect->programs[2].name);
  EXPECT_EQ(effect->getParameter(ParameterIndex::Volume), volume);

  DialogUser user(files + "all.fxb");
  ASSERT_EQ(loadBankDialog(*effect, nullptr), PresetDialogResult::done);
  EXPECT_EQ(user.fileTypes(), bankTypes);
  EXPECT_EQ(effect->programs[2].values[ParameterIndex::Volume], volume);
  EXPECT_EQ(effect->getProgram(), 0);
}

TEST_F(PresetDialogTest, FilesThatAreNoPresetOfThisPluginFail) {
  std::ofstream(files + "text.fxp") << "CcnK but no preset at all";
  const ProgramRecord before = effect->programs[0];
  {
    DialogUser user(files + "text.fxp");
    EXPECT_EQ(loadSinglePresetDialog(*effect, nullptr), PresetDialogResult::failed);
  }
  {
    DialogUser user(files + "missing.fxb");
    EXPECT_EQ(loadBankDialog(*effect, nullptr), PresetDialogResult::failed);
  }
  EXPECT_STREQ(effect->programs[0].name, before.name);
  EXPECT_EQ(effect->getParameter(ParameterIndex::Cutoff1), before.values[ParameterIndex::Cutoff1]);
}

TEST_F(PresetDialogTest, EveryDialogStartsWithTheLastChosenFile) {
  {
    DialogUser user(files + "remembered");
    ASSERT_EQ(saveSinglePresetDialog(*effect, nullptr), PresetDialogResult::done);
  }
  {
    DialogUser user("");
    EXPECT_EQ(loadBankDialog(*effect, nullptr), PresetDialogResult::cancelled);
    EXPECT_NE(user.initialName().find("remembered"), std::string::npos) << user.initialName();
  }
  DialogUser user("");
  EXPECT_EQ(saveBankDialog(*effect, nullptr), PresetDialogResult::cancelled);
  EXPECT_NE(user.initialName().find("remembered"), std::string::npos) << user.initialName();
}

TEST_F(PresetDialogTest, CancelledDialogsDoNothing) {
  PresetDialogResult (*const dialogs[])(OmAudio&, HWND) = {saveSinglePresetDialog, saveBankDialog,
                                                           loadSinglePresetDialog, loadBankDialog};
  for (auto dialog : dialogs) {
    DialogUser user("");
    EXPECT_EQ(dialog(*effect, nullptr), PresetDialogResult::cancelled);
    EXPECT_TRUE(user.sawDialog());
  }
  EXPECT_STREQ(effect->programs[0].name, "SYN sunrise");
}

TEST_F(PresetDialogTest, WindowHoldingTheEditorIsDisabledWhileTheDialogIsOpen) {
  const HWND host = CreateWindowExA(0, "STATIC", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                    nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  const HWND editor = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, host, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(editor, nullptr);
  {
    DialogUser user("");
    EXPECT_EQ(saveBankDialog(*effect, editor), PresetDialogResult::cancelled);
    EXPECT_EQ(user.dialogOwner(), host);
    EXPECT_FALSE(user.ownerEnabled());
  }
  EXPECT_TRUE(IsWindowEnabled(host));
  DestroyWindow(host);
}

}  // namespace
