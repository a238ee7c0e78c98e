#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "plugin/engine/tests/ZintaraFixture.h"
#include "plugin/framework/ERect.h"
#include "plugin/framework/EffectFlags.h"
#include "plugin/framework/EffectOpcodes.h"
#include "tests/support/InputKeys.h"

namespace {

constexpr int panelWidth = 632;
constexpr int panelHeight = 373;

// Pixels of a window or bitmap as 0x00RRGGBB, rows from the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool sameArea(const Picture& other, RECT area) const {
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (at(x, y) != other.at(x, y)) return false;
    return true;
  }
};

Picture readBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  Picture picture{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(dc, bitmap, 0, height, picture.pixels.data(), &info, DIB_RGB_COLORS);
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  return picture;
}

Picture capture(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  HDC windowDc = GetDC(window);
  HDC memory = CreateCompatibleDC(windowDc);
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, windowDc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  Picture picture = readBitmap(memory, bitmap, client.right, client.bottom);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, windowDc);
  return picture;
}

// The picture as a 24-bit BMP file, for looking at the editor by eye.
void save(const Picture& picture, const std::string& path) {
  const int stride = (picture.width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = picture.width;
  info.biHeight = picture.height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + stride * picture.height;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&info), sizeof(info));
  std::vector<char> row(stride, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      row[x * 3] = static_cast<char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
    out.write(row.data(), stride);
  }
}

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class EditorWindow : public ZintaraFixture {
 protected:
  void SetUp() override {
    ZintaraFixture::SetUp();
    parent = CreateWindowA("STATIC", "editor host", WS_OVERLAPPEDWINDOW, 0, 0, 700, 450, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    // Shown without taking the focus from windows of other tests on the same display.
    ShowWindow(parent, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    host.reset();
    DestroyWindow(parent);
  }

  HWND openEditor() {
    EXPECT_EQ(host->dispatch(effEditOpen, 0, 0, parent), 1);
    const HWND editor = GetWindow(parent, GW_CHILD);
    EXPECT_NE(editor, nullptr);
    settle();
    return editor;
  }

  // Lets the editor idle and paint as a host does between blocks.
  void settle() {
    for (int i = 0; i < 6; ++i) {
      host->dispatch(effEditIdle);
      pumpMessages();
    }
  }

  // A full-size picture as the plug-in holds it in its resources: the panel (128) or the splash (132).
  Picture panelResource(int id = 128) const {
    const HMODULE module = GetModuleHandleA(pluginPath.c_str());
    const HBITMAP bitmap =
        static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    HDC screen = GetDC(nullptr);
    Picture picture = readBitmap(screen, bitmap, panelWidth, panelHeight);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return picture;
  }

  // A left click at a point of the panel: the button goes down in the input state (where the controls
  // read it, without clicking any other window of the display), the frame window gets its button
  // message, and the button comes up again.
  void click(HWND editor, int x, int y) {
    Testing::sendKeys({VK_LBUTTON}, true);
    SendMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    Testing::sendKeys({VK_LBUTTON}, false);
    settle();
  }

  HWND parent = nullptr;
};

TEST_F(EditorWindow, TheEffectHasAnEditorOf632By373BeforeItOpens) {
  EXPECT_TRUE(host->effect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  EXPECT_EQ(host->dispatch(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right - rect->left, panelWidth);
  EXPECT_EQ(rect->bottom - rect->top, panelHeight);
}

TEST_F(EditorWindow, OpensItsPanelInTheParentWindowAndClosesIt) {
  // Some sound first, so the filters have their current settings for the response curve.
  std::vector<float> left(512);
  std::vector<float> right(512);
  float* outputs[] = {left.data(), right.data()};
  for (int block = 0; block < 20; ++block)
    host->effect()->processReplacing(host->effect(), nullptr, outputs, 512);
  const HWND editor = openEditor();
  RECT client;
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, panelWidth);
  EXPECT_EQ(client.bottom, panelHeight);

  const Picture shown = capture(editor);
  const char* folder = std::getenv("ZINTARA_EDITOR_SCREENSHOT");
  if (folder) save(shown, std::string(folder));
  const Picture panel = panelResource();
  // Plain panel where no control lies, and the preset-file buttons, which show the panel under them.
  EXPECT_TRUE(shown.sameArea(panel, RECT{8, 40, 50, 70}));
  for (const RECT button : {RECT{264, 322, 296, 334}, RECT{264, 340, 296, 352}, RECT{299, 322, 331, 334},
                            RECT{299, 340, 331, 352}}) {
    EXPECT_TRUE(shown.sameArea(panel, button)) << button.left << "," << button.top;
  }
  // A knob draws its handle over the panel.
  EXPECT_FALSE(shown.sameArea(panel, RECT{122, 11, 162, 51}));

  host->dispatch(effEditClose);
  pumpMessages();
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
}

TEST_F(EditorWindow, AHostParameterChangeMovesTheKnobAtTheNextIdle) {
  host->setParameter(1, 0.0f);
  const HWND editor = openEditor();
  const Picture before = capture(editor);
  host->setParameter(1, 1.0f);
  settle();
  const Picture after = capture(editor);
  EXPECT_FALSE(after.sameArea(before, RECT{122, 11, 162, 51}));
  EXPECT_TRUE(after.sameArea(before, RECT{8, 40, 50, 70}));
  host->dispatch(effEditClose);
}

// A click on the key of step 1 (at 59, 275 in the panel).
TEST_F(EditorWindow, AClickOnAStepKeyTogglesItsStepThroughTheHost) {
  const HWND editor = openEditor();
  const float before = host->getParameter(31);
  host->clearCalls();
  click(editor, 59 + 7, 275 + 7);
  EXPECT_FLOAT_EQ(host->getParameter(31), before == 0.0f ? 1.0f : 0.0f);
  EXPECT_GE(host->countCalls(0), 1);   // audioMasterAutomate
  EXPECT_GE(host->countCalls(43), 1);  // the edit gesture begins
  EXPECT_GE(host->countCalls(44), 1);  // and ends
  host->dispatch(effEditClose);
}

TEST_F(EditorWindow, AClickOnTheLogoShowsTheSplashPictureUntilTheNextClick) {
  const HWND editor = openEditor();
  const RECT middle{150, 80, 480, 290};
  click(editor, 550, 340);
  EXPECT_TRUE(capture(editor).sameArea(panelResource(132), middle));
  click(editor, 300, 200);
  settle();
  EXPECT_TRUE(capture(editor).sameArea(panelResource(128), RECT{8, 40, 50, 70}));
  EXPECT_FALSE(capture(editor).sameArea(panelResource(132), middle));
  host->dispatch(effEditClose);
}

TEST_F(EditorWindow, ReopensWithAFreshPanelAndIdlesOnlyWhileOpen) {
  for (int round = 0; round < 3; ++round) {
    openEditor();
    host->dispatch(effEditClose);
    pumpMessages();
    host->dispatch(effEditIdle);  // an idle after close does nothing
  }
  const HWND editor = openEditor();
  EXPECT_TRUE(capture(editor).sameArea(panelResource(), RECT{8, 40, 50, 70}));
  host->dispatch(effEditClose);
}

}  // namespace
