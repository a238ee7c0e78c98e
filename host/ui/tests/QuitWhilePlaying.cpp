// Quits the host program while it plays, for quit_recording.sh, which records what the sound server
// plays meanwhile:
//   quit <frames> <settings>
//                  runs quillam.exe with the instrument and the settings file given (DirectSound at
//                  blocks of frames), steps the instrument on to a pad (program 66, whose smooth sound
//                  shows a cut plainly), latches a note on the on-screen keyboard once it is drawn at
//                  rest, so that the same note sounds every run, and closes the main window; prints the
//                  time from the close to the program's end, which must stay below 1.5 s;
//   check <file>   reads the recording (raw 16-bit stereo at 44100 Hz): the sound must end without a
//                  step from one sample to the next larger than the largest in a typical 10 ms of the
//                  held note, and faded, at no more than half the level it was held at (both taken
//                  from the middle 10 ms piece, which dropouts of a busy machine leave as it is).
// Exit code 0 on success, 1 on a failure.
#include "host/ui/tests/ProgramWindows.h"
#include "tests/support/TestPaths.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int padProgram = 66;
constexpr int keyboardMenu = 3;
// A point in the lower half of the instrument's program rocker, in its editor: a wheel turned
// towards the user there steps to the next program.
constexpr int rockerX = 53;
constexpr int rockerY = 327;
// A point on the on-screen keyboard's lower part, where only white keys lie.
constexpr int keyX = 275;
constexpr int keyY = 80;
constexpr DWORD holdMs = 2000;
constexpr double quitBoundMs = 1500.0;
constexpr int rate = 44100;

double NowMs() {
  LARGE_INTEGER count;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The program beside the instrument in a folder of its own, with the settings given; empty when
// something could not be copied.
std::string Install(const std::string& settings) {
  const std::string folder = Testing::makeTempFolder("quit_while_playing");
  for (const char* file : {"quillam.exe", "zintara3.dll"}) {
    if (!CopyFileA((Testing::binaryFolder() + file).c_str(), (folder + file).c_str(), FALSE)) return "";
  }
  if (!CopyFileA(settings.c_str(), (folder + "Quillam.cfg").c_str(), FALSE)) return "";
  return folder;
}

bool TitleIs(HWND window, const std::string& title) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return title == text;
}

BOOL CALLBACK FindEditor(HWND window, LPARAM parameter) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (std::string(className).rfind("Plugin", 0) != 0) return TRUE;
  *reinterpret_cast<HWND*>(parameter) = window;
  return FALSE;
}

// The instrument's editor window inside the main window, once the main window shows it.
HWND WaitForEditor(HWND frame) {
  for (int i = 0; i < 300; ++i) {
    HWND editor = nullptr;
    EnumChildWindows(frame, FindEditor, reinterpret_cast<LPARAM>(&editor));
    // The title becomes the plug-in's name once the editor is shown, and blinks a warning while the
    // audio is inactive.
    if (editor != nullptr && !TitleIs(frame, "Quillam") &&
        !TitleIs(frame, "Audio inactive - Please check audio settings")) {
      return editor;
    }
    Sleep(100);
  }
  return nullptr;
}

// The on-screen keyboard: the main window's lowest child, once there are two (the editor's panel
// above it).
HWND WaitForKeyboard(HWND frame) {
  for (int i = 0; i < 100; ++i) {
    HWND lowest = nullptr;
    int children = 0;
    int lowestTop = -1;
    for (HWND child = GetWindow(frame, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT rect;
      if (!IsWindowVisible(child) || !GetWindowRect(child, &rect)) continue;
      ++children;
      if (rect.top > lowestTop) {
        lowestTop = rect.top;
        lowest = child;
      }
    }
    if (children >= 2) return lowest;
    Sleep(100);
  }
  return nullptr;
}

// The colours of the keyboard's row through the point the note is played at, as the screen shows it.
std::vector<COLORREF> KeyRow(HWND keyboard) {
  RECT client;
  GetClientRect(keyboard, &client);
  POINT origin{0, keyY};
  ClientToScreen(keyboard, &origin);
  std::vector<COLORREF> row;
  HDC screen = GetDC(nullptr);
  for (int x = 0; x < client.right; ++x) row.push_back(GetPixel(screen, origin.x + x, origin.y));
  ReleaseDC(nullptr, screen);
  return row;
}

// Whether the keyboard has been drawn and stands still. A keyboard shown soon after the program
// started glides to its start two octaves up, step by step as it paints; a click before its first
// steps plays the note two octaves below the one drawn there at rest.
bool WaitForKeyboardAtRest(HWND keyboard) {
  constexpr int stillPolls = 3;
  std::vector<COLORREF> before;
  int still = 0;
  for (int i = 0; i < 100 && still < stillPolls; ++i) {
    Sleep(50);
    std::vector<COLORREF> now = KeyRow(keyboard);
    const bool drawn = std::adjacent_find(now.begin(), now.end(), std::not_equal_to<>()) != now.end();
    still = drawn && now == before ? still + 1 : 0;
    before = std::move(now);
  }
  return still == stillPolls;
}

// Plays the pad with a latched note until the main window is closed; answers the time from the close
// to the program's end in milliseconds, or a negative number when the program did not get that far.
double QuitWhilePlaying(DWORD process, HANDLE program) {
  HWND frame = Testing::WaitForWindow(process, nullptr);
  HWND editor = frame != nullptr ? WaitForEditor(frame) : nullptr;
  if (editor == nullptr) {
    std::printf("the instrument's editor did not show with the audio running\n");
    return -1.0;
  }
  RECT editorRect;
  GetWindowRect(editor, &editorRect);
  const int x = editorRect.left + rockerX;
  const int y = editorRect.top + rockerY;
  SetCursorPos(x, y);
  for (int i = 0; i < padProgram; ++i)
    PostMessageA(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(x, y));
  PostMessageA(frame, WM_COMMAND, MAKEWPARAM(keyboardMenu, 0), 0);
  HWND keyboard = WaitForKeyboard(frame);
  if (keyboard == nullptr || !WaitForKeyboardAtRest(keyboard)) {
    std::printf("the on-screen keyboard did not show at rest\n");
    return -1.0;
  }
  // A right click latches the note: it sounds wherever the pointer is.
  PostMessageA(keyboard, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(keyX, keyY));
  Sleep(holdMs);
  const double closed = NowMs();
  PostMessageA(frame, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(program, 30000) != WAIT_OBJECT_0) {
    std::printf("the program did not end\n");
    return -1.0;
  }
  return NowMs() - closed;
}

int Quit(int frames, const std::string& settings) {
  const std::string folder = Install(settings);
  if (folder.empty()) {
    std::printf("the program, the instrument or the settings %s could not be copied\n", settings.c_str());
    return 1;
  }
  std::string commandLine = "\"" + folder + "quillam.exe\" \"" + folder + "zintara3.dll\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &started)) {
    std::printf("the program did not start\n");
    return 1;
  }
  const double quitMs = QuitWhilePlaying(started.dwProcessId, started.hProcess);
  if (quitMs < 0.0) TerminateProcess(started.hProcess, 1);
  DWORD exitCode = 1;
  GetExitCodeProcess(started.hProcess, &exitCode);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  if (quitMs < 0.0) return 1;
  std::printf("blocks of %d frames: the program ended %.0f ms after its main window was closed\n", frames,
              quitMs);
  return quitMs < quitBoundMs && exitCode == 0 ? 0 : 1;
}

// The largest step from one sample to the next of either channel over frames [first, last).
double LargestStep(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last) {
  int largest = 0;
  for (std::size_t frame = std::max<std::size_t>(first, 1); frame < last; ++frame) {
    for (std::size_t channel = 0; channel < 2; ++channel) {
      const int step = samples[2 * frame + channel] - samples[2 * (frame - 1) + channel];
      largest = std::max(largest, std::abs(step));
    }
  }
  return largest;
}

// The level of both channels over frames [first, last): the root of their mean square.
double Level(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last) {
  double sum = 0.0;
  for (std::size_t i = 2 * first; i < 2 * last; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(2 * (last - first)));
}

// A measure of a held sound over frames [first, last): that of its middle 10 ms piece, which the
// dropouts of a busy machine leave as it is as long as they spoil fewer than half the pieces.
template <typename Measure>
double Held(const std::vector<std::int16_t>& samples, std::size_t first, std::size_t last, Measure measure) {
  constexpr std::size_t piece = rate / 100;
  std::vector<double> measures;
  for (std::size_t frame = first; frame + piece <= last; frame += piece) {
    measures.push_back(measure(samples, frame, frame + piece));
  }
  if (measures.empty()) return 0.0;
  std::nth_element(measures.begin(), measures.begin() + measures.size() / 2, measures.end());
  return measures[measures.size() / 2];
}

// For a sound that did not end cleanly: its peak in each of its last 30 milliseconds, and the
// samples of the left channel around the largest step at its end.
void DescribeEnd(const std::vector<std::int16_t>& samples, std::size_t end) {
  constexpr std::size_t millisecond = rate / 1000;
  std::printf("peaks of the last 30 ms:");
  for (std::size_t frame = end - 30 * millisecond; frame < end; frame += millisecond) {
    int peak = 0;
    for (std::size_t i = frame; i < frame + millisecond; ++i) peak = std::max(peak, std::abs(samples[2 * i]));
    std::printf(" %d", peak);
  }
  std::size_t worst = end - rate / 100;
  for (std::size_t frame = worst; frame <= end; ++frame) {
    if (LargestStep(samples, frame, frame + 1) > LargestStep(samples, worst, worst + 1)) worst = frame;
  }
  std::printf("\nlargest step %zu frames before the end, left channel around it:", end - worst);
  for (std::size_t frame = worst - 8; frame < worst + 8; ++frame) std::printf(" %d", samples[2 * frame]);
  std::printf("\n");
}

int Check(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::int16_t> samples;
  std::int16_t sample;
  while (file.read(reinterpret_cast<char*>(&sample), sizeof sample)) samples.push_back(sample);
  const std::size_t frames = samples.size() / 2;
  const auto silent = [&samples](std::size_t frame) {
    return samples[2 * frame] == 0 && samples[2 * frame + 1] == 0;
  };
  // The sound lies between silence before and after it.
  std::size_t start = 0;
  while (start < frames && silent(start)) ++start;
  std::size_t end = frames;
  while (end > start && silent(end - 1)) --end;
  if (end - start < rate || end == frames) {
    std::printf(
        "%zu frames recorded, sound in frames %zu to %zu: no note of a second with silence after it\n",
        frames, start, end);
    return 1;
  }
  // While held: from half a second after the note began (its attack) to shortly before the close;
  // the end: its last 10 ms and the step to the silence after it. A clean end has no larger step than
  // the held sound and has faded: a 20 ms fade leaves at most half the level there, a cut the whole.
  const std::size_t heldFirst = start + rate / 2;
  const std::size_t heldLast = end - rate / 5;
  const std::size_t lastFirst = end - rate / 100;
  const double heldStep = Held(samples, heldFirst, heldLast, LargestStep);
  const double lastStep = LargestStep(samples, lastFirst, end + 1);
  const double heldLevel = Held(samples, heldFirst, heldLast, Level);
  const double lastLevel = Level(samples, lastFirst, end);
  std::printf(
      "the sound ends with the samples %d and %d; largest step while held %.0f, at the end %.0f; "
      "level while held %.0f, in the last 10 ms %.0f\n",
      samples[2 * end - 2], samples[2 * end - 1], heldStep, lastStep, heldLevel, lastLevel);
  if (lastStep <= heldStep && lastLevel <= heldLevel / 2) return 0;
  DescribeEnd(samples, end);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "quit" && argc > 3) return Quit(std::atoi(argv[2]), argv[3]);
  if (mode == "check") return Check(argv[2]);
  std::printf("usage: %s quit <frames> <settings> | check <recording>\n", argv[0]);
  return 1;
}
