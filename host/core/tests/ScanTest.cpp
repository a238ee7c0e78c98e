#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "host/core/Logic.h"

namespace Ombix::Kelvane {
namespace {

using Common::Config::Configuration;

const char* const kPlugins = "PluginSystem/PluginInfo/Plugin";
constexpr auto kScanPatience = std::chrono::seconds(180);

// A Logic driven like the main frame drives it: whenever it says commands are pending, the GUI
// thread (the test's) wakes and processes them. The scanner gets a real probe program and a
// configuration file of its own in a temporary folder; the Logic itself has no configuration.
class ScanTest : public testing::Test {
 protected:
  ScanTest() {
    CreateDirectoryA(plugins.c_str(), nullptr);
    logic->SetScannerPort(0);  // a free port: other programs may use the usual one
    logic->CommandsPending.connect([this] {
      {
        std::lock_guard<std::mutex> hold(mutex_);
        pending_ = true;
      }
      wake_.notify_all();
    });
    logic->Scanning.connect([this](const std::string& path) {
      EXPECT_EQ(GetCurrentThreadId(), guiThread_) << path;
      EXPECT_TRUE(processing_) << "announced outside ProcessCommands: " << path;
      scanned.push_back(path);
    });
    logic->ProcessCommands();  // the audio engine's first news
  }

  std::string CopyPlugin(const std::string& name) {
    const std::string path = plugins + name;
    EXPECT_TRUE(CopyFileA((Testing::binaryFolder() + "recording_plugin.dll").c_str(), path.c_str(), FALSE));
    return path;
  }

  void Scan(const std::string& folder) {
    logic->ScanPlugins(folder, Testing::binaryFolder() + "plugin_probe.exe", &config);
  }

  // Processes commands on the GUI thread at every wake-up until done() holds.
  bool ProcessUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kScanPatience;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      {
        std::unique_lock<std::mutex> hold(mutex_);
        wake_.wait_for(hold, std::chrono::milliseconds(500), [this] { return pending_; });
        pending_ = false;
      }
      processing_ = true;
      logic->ProcessCommands();
      processing_ = false;
    }
    return true;
  }

  bool Announced(const std::string& path) const { return !scanned.empty() && scanned.back() == path; }

  std::string root = Testing::makeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string plugins = root + "plugins\\";
  Configuration config{root + "Quillam.cfg"};
  std::unique_ptr<Logic> logic = std::make_unique<Logic>(nullptr, nullptr, "Ombix Labs", "Quillam", 900);
  std::vector<std::string> scanned;

 private:
  const DWORD guiThread_ = GetCurrentThreadId();
  bool processing_ = false;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool pending_ = false;
};

TEST_F(ScanTest, ScanningReportsEachPathOnTheGuiThreadAndRecordsTheResults) {
  const std::string good = CopyPlugin("good.dll");
  // Probed after good.dll (so once it is announced, good.dll's results are written); skipped itself.
  const std::string last = root + "last\\last.dll";
  CreateDirectoryA((root + "last").c_str(), nullptr);
  std::ofstream(last) << "skipped";
  config.SetBool(config.ElementPathWithAttribute(kPlugins, "Filename", last, true) + "Rescan", false);

  Scan(plugins);
  Scan(root + "last");  // the same scanner takes the second folder
  ASSERT_TRUE(ProcessUntil([&] { return Announced(last); }));
  logic.reset();  // ends the scanner; the configuration is ours again

  EXPECT_EQ(scanned, (std::vector<std::string>{good, last}));
  ASSERT_TRUE(config.GetDocument()->Save(root + "Quillam.cfg"));
  Configuration saved(root + "Quillam.cfg");
  const std::string element = saved.ElementPathWithAttribute(kPlugins, "Filename", good, false);
  const auto value = [&](const char* key) { return saved.GetString(element + key, "<absent>"); };
  EXPECT_EQ(value("Rescan"), "false");
  EXPECT_EQ(value("x64"), "true");
  EXPECT_EQ(value("Failed"), "false");
  EXPECT_EQ(value("AsyncReady"), "false");
  EXPECT_EQ(saved.IndexOfElementWithAttribute(kPlugins, "Filename", "none"), 2);
}

TEST_F(ScanTest, DeletingTheLogicDuringAScanStopsTheScanner) {
  const std::vector<std::string> paths = {CopyPlugin("a.dll"), CopyPlugin("b.dll"), CopyPlugin("c.dll")};
  Scan(plugins);
  ASSERT_TRUE(ProcessUntil([&] { return !scanned.empty(); }));
  logic.reset();  // returns once the probe in progress has been closed

  ASSERT_EQ(scanned.size(), 1u);
  EXPECT_NE(std::find(paths.begin(), paths.end(), scanned.front()), paths.end()) << scanned.front();
  // Only the file being probed was recorded; the scan went no further.
  EXPECT_EQ(config.IndexOfElementWithAttribute(kPlugins, "Filename", "none"), 1);
  EXPECT_EQ(config.IndexOfElementWithAttribute(kPlugins, "Filename", scanned.front()), 0);
}

}  // namespace
}  // namespace Ombix::Kelvane
