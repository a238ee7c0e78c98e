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

// What the user does in the next window that asks something: a file dialog or a question.
struct Step {
  // Types the path into a file dialog and confirms; an empty path cancels the dialog.
  static Step type(std::string path) { return Step{std::move(path), 0}; }
  // Presses a button of a question (IDYES, IDNO, IDOK).
  static Step press(int button) { return Step{"", button}; }
  std::string path;
  int button;
};

// Plays the user of the windows that the creating thread opens next: each step acts on the next
// dialog window that takes input (a file dialog, or a question shown by it or after it). Windows
// still open after the last step are cancelled after a while, so that a test never waits for ever.
class DialogUser {
 public:
  explicit DialogUser(std::string path) : DialogUser(std::vector<Step>{Step::type(std::move(path))}) {}
  explicit DialogUser(std::vector<Step> steps)
      : dialogThread_(GetCurrentThreadId()), steps_(std::move(steps)) {
    thread_ = std::thread([this] { run(); });
  }
  ~DialogUser() {
    stop_ = true;
    thread_.join();
  }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

  bool sawDialog() const { return sawDialog_; }
  // How many steps found their window.
  int stepsTaken() const { return stepsTaken_; }
  // The entries of the first dialog's file-type list, read before the answer.
  std::vector<std::string> fileTypes() const { return fileTypes_; }
  // The file name that the first dialog showed when it opened.
  std::string initialName() const { return initialName_; }
  // The first dialog's owner window and whether it took input while the dialog was open.
  HWND dialogOwner() const { return dialogOwner_; }
  bool ownerEnabled() const { return ownerEnabled_; }

 private:
  struct Search {
    HWND skip;
    HWND found;
  };

  static BOOL CALLBACK findWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) != "#32770" || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        window == search->skip) {
      return TRUE;
    }
    search->found = window;
    return FALSE;
  }

  // The next dialog window of the thread that takes input, other than skip; null after a long wait.
  HWND waitForWindow(HWND skip) {
    for (int wait = 0; wait < 1200 && !stop_; ++wait) {
      Search search{skip, nullptr};
      EnumThreadWindows(dialogThread_, findWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found) return search.found;
      Sleep(50);
    }
    return nullptr;
  }

  void run() {
    HWND last = nullptr;
    for (const Step& step : steps_) {
      const HWND window = waitForWindow(last);
      if (!window) return;
      Sleep(200);
      if (stepsTaken_ == 0) readFirstDialog(window);
      ++stepsTaken_;
      if (step.button != 0) {
        PostMessageA(window, WM_COMMAND, step.button, 0);
      } else if (step.path.empty()) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      } else {
        SetDlgItemTextA(window, fileNameCombo, step.path.c_str());
        SetDlgItemTextA(window, fileNameEdit, step.path.c_str());
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      }
      last = window;
    }
    for (int wait = 0; wait < 400 && !stop_ && IsWindow(last); ++wait) Sleep(50);
    while (!stop_) {
      Search search{nullptr, nullptr};
      EnumThreadWindows(dialogThread_, findWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found) PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
      Sleep(500);
    }
  }

  void readFirstDialog(HWND dialog) {
    sawDialog_ = true;
    dialogOwner_ = GetWindow(dialog, GW_OWNER);
    ownerEnabled_ = dialogOwner_ && IsWindowEnabled(dialogOwner_);
    const HWND list = GetDlgItem(dialog, fileTypeList);
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT item = 0; item < count; ++item) {
      char text[256] = {};
      if (SendMessageA(list, CB_GETLBTEXTLEN, item, 0) < LRESULT{sizeof text}) {
        SendMessageA(list, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
      }
      fileTypes_.push_back(text);
    }
    char name[MAX_PATH] = {};
    if (!GetDlgItemTextA(dialog, fileNameEdit, name, MAX_PATH))
      GetDlgItemTextA(dialog, fileNameCombo, name, MAX_PATH);
    initialName_ = name;
  }

  const DWORD dialogThread_;
  const std::vector<Step> steps_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> sawDialog_{false};
  std::atomic<int> stepsTaken_{0};
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
  EXPECT_STREQ(effect->programs[0].name, before.name);
  EXPECT_EQ(effect->getParameter(ParameterIndex::Cutoff1), before.values[ParameterIndex::Cutoff1]);
}

// The open dialogs tell the user that the file does not exist and stay open for another name.
TEST_F(PresetDialogTest, OpenDialogsTakeOnlyExistingFiles) {
  const ProgramRecord before = effect->programs[0];
  PresetDialogResult (*const dialogs[])(OmAudio&, HWND) = {loadSinglePresetDialog, loadBankDialog};
  for (auto dialog : dialogs) {
    DialogUser user({Step::type(files + "missing.fxb"), Step::press(IDOK), Step::type("")});
    EXPECT_EQ(dialog(*effect, nullptr), PresetDialogResult::cancelled);
    EXPECT_EQ(user.stepsTaken(), 3);
  }
  EXPECT_STREQ(effect->programs[0].name, before.name);
}

// The question names the file that would be replaced, also when the extension is added to the name.
// Refused, the dialog comes back for another name.
TEST_F(PresetDialogTest, SavingOverAnExistingFileAsksFirst) {
  const Bytes old = {'o', 'l', 'd'};
  ASSERT_TRUE(writePresetFile(files + "kept.fxp", old));
  {
    DialogUser user({Step::type(files + "kept.fxp"), Step::press(IDNO), Step::type(files + "other.fxp")});
    EXPECT_EQ(saveSinglePresetDialog(*effect, nullptr), PresetDialogResult::done);
    EXPECT_EQ(user.stepsTaken(), 3);
  }
  EXPECT_EQ(contents(files + "kept.fxp"), old);
  EXPECT_EQ(contents(files + "other.fxp"), buildSinglePresetData(*effect));
  {
    DialogUser user({Step::type(files + "kept"), Step::press(IDNO), Step::type("")});
    EXPECT_EQ(saveSinglePresetDialog(*effect, nullptr), PresetDialogResult::cancelled);
    EXPECT_EQ(user.stepsTaken(), 3);
  }
  EXPECT_EQ(contents(files + "kept.fxp"), old);
  {
    DialogUser user({Step::type(files + "kept"), Step::press(IDYES)});
    EXPECT_EQ(saveSinglePresetDialog(*effect, nullptr), PresetDialogResult::done);
    EXPECT_EQ(user.stepsTaken(), 2);
  }
  EXPECT_EQ(contents(files + "kept.fxp"), buildSinglePresetData(*effect));

  ASSERT_TRUE(writePresetFile(files + "all.fxb", old));
  {
    DialogUser user({Step::type(files + "all.fxb"), Step::press(IDYES)});
    EXPECT_EQ(saveBankDialog(*effect, nullptr), PresetDialogResult::done);
  }
  EXPECT_EQ(contents(files + "all.fxb"), buildBankData(*effect));
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
