// Starts the host program itself with the instrument, answers its start-up question, closes it
// and reads what it leaves behind.
#include "host/ui/tests/ProgramWindows.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

using Testing::WaitForWindow;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

BOOL CALLBACK CollectText(HWND window, LPARAM parameter) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  *reinterpret_cast<std::string*>(parameter) += std::string(className) + ":" + text + "\n";
  return TRUE;
}

// The texts of a window's controls, one per line.
std::string ControlTexts(HWND window) {
  std::string texts;
  EnumChildWindows(window, CollectText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

bool WaitUntilGone(HWND window) {
  for (int i = 0; i < 600 && IsWindow(window); ++i) {
    Sleep(100);
  }
  return !IsWindow(window);
}

// What a test does once the program's audio question is answered (process id): answers what the
// program asks next. True when the program then ends by itself.
using AfterAudioQuestion = std::function<bool(DWORD)>;

// Copies the program (and a file to lie beside it under its own name) into a fresh folder and runs
// it there with the argument (none when empty); answers the audio question (with Yes the settings
// dialog opens and is cancelled), lets the test answer what comes next, then closes the main window
// unless the program ends by itself. Answers the folder.
std::string RunProgram(const std::string& folderName, const std::string& argument, bool openSettings,
                       const std::string& ownDll = "", const std::string& besideProgram = "",
                       const AfterAudioQuestion& after = nullptr) {
  const std::string folder = Testing::makeTempFolder(folderName);
  const std::string program = folder + "quillam.exe";
  EXPECT_TRUE(CopyFileA((Testing::binaryFolder() + "quillam.exe").c_str(), program.c_str(), FALSE));
  if (!ownDll.empty()) {
    EXPECT_TRUE(CopyFileA(ownDll.c_str(), (folder + "quillam.dll").c_str(), FALSE));
  }
  if (!besideProgram.empty()) {
    const std::string name = besideProgram.substr(besideProgram.find_last_of('\\') + 1);
    EXPECT_TRUE(CopyFileA(besideProgram.c_str(), (folder + name).c_str(), FALSE));
  }
  EXPECT_FALSE(FileExists(folder + "Quillam.cfg"));

  std::string commandLine = "\"" + program + "\"";
  if (!argument.empty()) commandLine += " \"" + argument + "\" ignored";
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
  const bool endsByItself = after && after(started.dwProcessId);
  if (!endsByItself) {
    HWND frame = WaitForWindow(started.dwProcessId, nullptr);
    EXPECT_NE(nullptr, frame);
    Sleep(1000);
    PostMessageA(frame, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(started.hProcess, 60000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the program did not end; ended by the test";
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, INFINITE);
  }
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
  // The settings dialog was closed with its close box: nothing of it was applied.
  EXPECT_EQ(std::string::npos, log.find("=> ConfigureAudioDriver")) << log;
}

// The user is told that the plug-in named was not found, and the log says so, before the DLL
// named like the program loads in its place.
TEST(QuillamProgram, AMissingFirstArgumentIsReportedAndTheDllNamedLikeTheProgramLoads) {
  const std::string missing = "Z:\\no\\such\\plugin.dll";
  std::string message;
  const std::string folder =
      RunProgram("quillam_own_dll", missing, false, Testing::binaryFolder() + "zintara3.dll", "",
                 [&message](DWORD process) {
                   HWND box = WaitForWindow(process, "Plugin not found");
                   EXPECT_NE(nullptr, box);
                   message = ControlTexts(box);
                   PostMessageA(box, WM_COMMAND, IDOK, 0);
                   return false;
                 });
  EXPECT_NE(std::string::npos, message.find("Plugin " + missing + " not found!\n")) << message;
  const std::string log = ReadFile(folder + "Quillam.log");
  EXPECT_NE(std::string::npos, log.find("Plugin " + missing + " not found\r\n")) << log;
  EXPECT_NE(std::string::npos, log.find("=> CreateNewPlugin [" + folder + "quillam.dll]")) << log;
  EXPECT_TRUE(FileExists(folder + "Quillam.cfg"));
}

// The plug-in named as a user types it: a bare name in the working folder, a path with forward
// slashes.
TEST(QuillamProgram, APluginNamedRelativeOrWithForwardSlashesLoads) {
  std::string forward = Testing::binaryFolder() + "zintara3.dll";
  std::replace(forward.begin(), forward.end(), '\\', '/');
  for (const std::string& argument : {std::string("zintara3.dll"), forward}) {
    const std::string folder =
        RunProgram("quillam_typed_path", argument, false, "", Testing::binaryFolder() + "zintara3.dll");
    const std::string log = ReadFile(folder + "Quillam.log");
    EXPECT_NE(std::string::npos, log.find("=> CreateNewPlugin [" + argument + "]")) << log;
    EXPECT_NE(std::string::npos, log.find("Loading finished!")) << argument << "\n" << log;
    EXPECT_EQ(std::string::npos, log.find("Loading failed!")) << argument << "\n" << log;
  }
}

// Without a plug-in to load at start-up the file dialog asks; cancelled, the program asks whether
// to exit: No brings the dialog back, Yes ends the program, which saves its settings.
TEST(QuillamProgram, WithoutAPluginTheFileDialogAndTheExitQuestionTakeTurnsUntilYes) {
  int dialogs = 0;
  const std::string folder = RunProgram("quillam_exit_loop", "", false, "", "", [&dialogs](DWORD process) {
    for (const int answer : {IDNO, IDYES}) {
      HWND dialog = WaitForWindow(process, "Choose a plugin to open");
      EXPECT_NE(nullptr, dialog);
      if (dialog == nullptr) return false;
      ++dialogs;
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      HWND question = WaitForWindow(process, "Exit?");
      EXPECT_NE(nullptr, question);
      if (question == nullptr) return false;
      EXPECT_NE(std::string::npos, ControlTexts(question).find("No plugin loaded. Exit program?\n"))
          << ControlTexts(question);
      PostMessageA(question, WM_COMMAND, answer, 0);
    }
    return true;
  });
  EXPECT_EQ(2, dialogs);
  EXPECT_TRUE(FileExists(folder + "Quillam.cfg"));
  EXPECT_EQ(std::string::npos, ReadFile(folder + "Quillam.log").find("CreateNewPlugin"));
}

}  // namespace
