// Starts the host program itself with the instrument, answers its start-up question, closes it
// and reads what it leaves behind.
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct WindowSearch {
  DWORD process;
  const char* title;  // null: the first visible top-level window that is no message box
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) {
    return TRUE;
  }
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  const bool isMessageBox = std::string(className) == "#32770";
  const bool matches = search->title != nullptr ? std::string(title) == search->title
                                                : !isMessageBox && IsWindowVisible(window) &&
                                                      std::string(className).rfind("wx", 0) == 0;
  if (matches) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD process, const char* title) {
  for (int i = 0; i < 600; ++i) {
    WindowSearch search{process, title, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      return search.found;
    }
    Sleep(100);
  }
  return nullptr;
}

bool WaitUntilGone(HWND window) {
  for (int i = 0; i < 600 && IsWindow(window); ++i) {
    Sleep(100);
  }
  return !IsWindow(window);
}

// Copies the program into a fresh folder and runs it there with the argument; answers the audio
// question (with Yes the settings dialog opens and is closed with its close box, while the
// program goes on), then closes the main window. Answers the folder.
std::string RunProgram(const std::string& folderName, const std::string& argument, bool openSettings,
                       const std::string& ownDll = "") {
  const std::string folder = Testing::makeTempFolder(folderName);
  const std::string program = folder + "quillam.exe";
  EXPECT_TRUE(CopyFileA((Testing::binaryFolder() + "quillam.exe").c_str(), program.c_str(), FALSE));
  if (!ownDll.empty()) {
    EXPECT_TRUE(CopyFileA(ownDll.c_str(), (folder + "quillam.dll").c_str(), FALSE));
  }
  EXPECT_FALSE(FileExists(folder + "Quillam.cfg"));

  std::string commandLine = "\"" + program + "\" \"" + argument + "\" ignored";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &started)) {
    ADD_FAILURE() << "the program did not start";
    return folder;
  }
  // Without a configured driver the program offers the audio settings.
  HWND question = WaitForWindow(started.dwProcessId, "Audio not configured");
  EXPECT_NE(nullptr, question);
  PostMessageA(question, WM_COMMAND, openSettings ? IDYES : IDNO, 0);
  if (openSettings) {
    HWND settings = WaitForWindow(started.dwProcessId, "Audio Settings");
    EXPECT_NE(nullptr, settings);
    PostMessageA(settings, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntilGone(settings)) << "the settings dialog stays open";
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(started.hProcess, 0)) << "the program ended with the dialog";
  }
  HWND frame = WaitForWindow(started.dwProcessId, nullptr);
  EXPECT_NE(nullptr, frame);
  Sleep(1000);
  PostMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(started.hProcess, 60000));
  DWORD exitCode = 1;
  GetExitCodeProcess(started.hProcess, &exitCode);
  EXPECT_EQ(0u, exitCode);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return folder;
}

TEST(QuillamProgram, StartsWithTheInstrumentAndSavesItsSettingsAtExit) {
  const std::string instrument = Testing::binaryFolder() + "zintara3.dll";
  const std::string folder = RunProgram("quillam_program", instrument, true);
  EXPECT_TRUE(FileExists(folder + "Quillam.cfg"));
  const std::string log = ReadFile(folder + "Quillam.log");
  // The opening lines, in order, before any line of the core.
  const std::size_t cores = log.find("Number of cores: ");
  const std::size_t memory = log.find("Available memory: ");
  EXPECT_EQ(0u, log.find("Startup"));
  EXPECT_LT(cores, memory);
  EXPECT_LT(memory, log.find("<= "));
  EXPECT_NE(std::string::npos, log.find("=> CreateNewPlugin [" + instrument + "]"));
}

TEST(QuillamProgram, AMissingFirstArgumentFallsBackToTheDllNamedLikeTheProgram) {
  const std::string folder = RunProgram("quillam_own_dll", "Z:\\no\\such\\plugin.dll", false,
                                        Testing::binaryFolder() + "zintara3.dll");
  const std::string log = ReadFile(folder + "Quillam.log");
  EXPECT_NE(std::string::npos, log.find("=> CreateNewPlugin [" + folder + "quillam.dll]")) << log;
  EXPECT_EQ(std::string::npos, log.find("plugin.dll"));
  EXPECT_TRUE(FileExists(folder + "Quillam.cfg"));
}

}  // namespace
