#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "host/core/Plugin.h"
#include "host/core/commands/DisposePlugin.h"
#include "host/core/commands/PluginInjectMidi.h"
#include "host/core/commands/PluginKeyDown.h"
#include "host/core/commands/PluginKeyUp.h"
#include "host/core/commands/PluginSetPatch.h"
#include "host/core/commands/PluginWindowClose.h"
#include "host/core/commands/PluginWindowIdle.h"
#include "host/core/commands/PluginWindowOpen.h"
#include "host/core/tests/FakeLogic.h"

namespace Ombix::Kelvane {
namespace {

struct OperationCase {
  const char* name;
  std::function<void(Plugin&)> operation;
  const std::type_info& command;
};

TEST(PluginRecord, EveryOperationPostsItsCommandToTheOwner) {
  const PluginKeyEvent key{65, 65, 1};
  const OperationCase cases[] = {
      {"OpenWindow", [](Plugin& p) { p.OpenWindow(nullptr); }, typeid(Commands::PluginWindowOpen)},
      {"IdleWindow", [](Plugin& p) { p.IdleWindow(); }, typeid(Commands::PluginWindowIdle)},
      {"CloseWindow", [](Plugin& p) { p.CloseWindow(); }, typeid(Commands::PluginWindowClose)},
      {"Dispose", [](Plugin& p) { p.Dispose(); }, typeid(Commands::DisposePlugin)},
      {"KeyDown", [&key](Plugin& p) { p.KeyDown(key); }, typeid(Commands::PluginKeyDown)},
      {"KeyUp", [&key](Plugin& p) { p.KeyUp(key); }, typeid(Commands::PluginKeyUp)},
      {"InjectMidi", [](Plugin& p) { p.InjectMidi(0x643C90, 0); }, typeid(Commands::PluginInjectMidi)},
      {"SetPatch", [](Plugin& p) { p.SetPatch(3); }, typeid(Commands::PluginSetPatch)},
  };
  for (const OperationCase& c : cases) {
    Testing::FakeLogic logic;
    Plugin record(&logic, 5, "a.dll");
    c.operation(record);
    ASSERT_EQ(logic.commands.size(), 1u) << c.name;
    EXPECT_TRUE(typeid(*logic.commands[0]) == c.command) << c.name;
  }
}

TEST(PluginRecord, StartsEmptyAndTellsItsEndOnce) {
  Testing::FakeLogic logic;
  int disposed = 0;
  {
    Plugin record(&logic, 5, "a.dll");
    EXPECT_EQ(record.GetId(), 5);
    EXPECT_EQ(record.GetStatus(), 0);
    EXPECT_FALSE(record.IsActive());
    EXPECT_EQ(record.GetWidth(), 0);
    EXPECT_EQ(record.GetHeight(), 0);
    EXPECT_TRUE(record.GetPatches().empty());
    record.Disposed.connect([&](IPlugin* plugin) {
      EXPECT_EQ(plugin->GetId(), 5);
      ++disposed;
    });
  }
  EXPECT_EQ(disposed, 1);
}

}  // namespace
}  // namespace Ombix::Kelvane
