#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/system/threading/CriticalSection.h"
#include "host/hosting/PluginFactory.h"
#include "host/hosting/tests/TestContainer.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

// The real instrument, once this tree builds it.
TEST(Zintara, LoadsPlaysANoteAndUnloads) {
  const std::string path = Testing::PluginPath("zintara3");
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "zintara3.dll is not built";

  Common::System::Threading::CriticalSection audioLock;
  PluginFactory factory(0, "Ombix Labs", "Quillam", 900);
  std::vector<std::string> notes;
  auto* container = new Testing::TestContainer(&factory, &audioLock, notes);
  container->SetPath(path);
  ASSERT_NE(container->Loaded(), nullptr);
  EXPECT_NE(container->Name(), "<Empty>");
  EXPECT_EQ(static_cast<int>(container->Programs().size()), container->Loaded()->NumPrograms());
  EXPECT_EQ(container->Loaded()->NumOutputs(), 2);

  std::vector<float> left(256);
  std::vector<float> right(256);
  float* outputs[] = {left.data(), right.data()};
  float* inputs[] = {left.data(), right.data()};
  container->PushMidi(0x643C90);  // note 60, velocity 100
  std::vector<PackedMidiEvent> block(256, 0);
  bool finite = true;
  for (int i = 0; i < 200; ++i) {
    container->MergeQueuedMidi(0, block.data(), 256);
    container->Loaded()->Process(inputs, outputs, 256);
    for (const float sample : left) finite = finite && std::isfinite(sample);
  }
  EXPECT_TRUE(finite);

  // Its editor in a real parent window: opened, idled and closed.
  const HWND parent = CreateWindowA("STATIC", "editor host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                    nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(parent, nullptr);
  notes.clear();
  container->OpenEditor(parent);
  for (int i = 0; i < 5; ++i) container->EditorIdle();
  container->CloseEditor();
  std::vector<std::string> sizes;
  for (const std::string& note : notes) {
    if (note.compare(0, 5, "size ") == 0) sizes.push_back(note);
  }
  // Opening announces the editor's size; any later request keeps it.
  EXPECT_FALSE(sizes.empty()) << "no size reached the host";
  for (const std::string& size : sizes) EXPECT_EQ(size, "size 632x373");
  DestroyWindow(parent);
  container->Dispose();
  EXPECT_EQ(notes.back(), "deleted");
  EXPECT_FALSE(Testing::IsLoaded("zintara3"));
}

}  // namespace
}  // namespace Ombix::Kelvane
