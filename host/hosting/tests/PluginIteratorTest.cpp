#include <winsock2.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TestPaths.h"
#include "common/config/Configuration.h"
#include "common/system/sockets/TcpServerSocket.h"
#include "common/system/sockets/WinSocketBase.h"
#include "host/hosting/PluginIterator.h"
#include "host/hosting/ProbeAnswer.h"
#include "host/hosting/ProbeProtocol.h"

namespace Ombix::Kelvane {
namespace {

using Common::Config::Configuration;

const char* const kPlugins = "PluginSystem/PluginInfo/Plugin";
constexpr auto kScanPatience = std::chrono::seconds(240);

std::string ProbeProgram() {
  return Testing::binaryFolder() + "plugin_probe.exe";
}

std::string FakeProbeProgram() {
  return Testing::binaryFolder() + "fake_probe.exe";
}

// A file that starts like a PE image built for machine.
std::string ImageFor(std::uint16_t machine) {
  std::string bytes(128, '\0');
  bytes[0] = 'M';
  bytes[1] = 'Z';
  bytes[60] = static_cast<char>(128);
  bytes += std::string("PE\0\0", 4);
  bytes += static_cast<char>(machine & 0xFF);
  bytes += static_cast<char>(machine >> 8);
  return bytes + std::string(64, '\0');
}

// A folder of plug-ins, a configuration, and a scanner run over the folder until it is through.
class PluginIteratorTest : public testing::Test {
 protected:
  PluginIteratorTest() {
    CreateDirectoryA(plugins.c_str(), nullptr);
    CreateDirectoryA((root + "last").c_str(), nullptr);
    Write(lastPath, "queued last; skipped");
    config.SetBool(Element(lastPath) + "Rescan", false);
  }

  // Copies a DLL of the build into the plug-in folder under name (which may hold one sub-folder).
  std::string Copy(const std::string& dll, const std::string& name) {
    const auto slash = name.find('\\');
    if (slash != std::string::npos) CreateDirectoryA((plugins + name.substr(0, slash)).c_str(), nullptr);
    EXPECT_TRUE(CopyFileA((Testing::binaryFolder() + dll + ".dll").c_str(), (plugins + name).c_str(), FALSE))
        << dll;
    return plugins + name;
  }

  std::string Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::string Element(const std::string& path) {
    return config.ElementPathWithAttribute(kPlugins, "Filename", path, true);
  }

  // What the stand-in probe program left for path: the port it was given, or "<not probed>".
  static std::string Probed(const std::string& path) {
    std::ifstream file(path + ".probed");
    std::string port;
    return std::getline(file, port) ? port : "<not probed>";
  }

  std::string Attribute(const std::string& path, const std::string& key) {
    return config.GetString(config.ElementPathWithAttribute(kPlugins, "Filename", path, false) + key,
                            "<absent>");
  }

  // Scans the plug-in folder, waits until the scanner reached the path queued after it, then
  // deletes the scanner. Answers the paths the scanner announced, in order, but for the last one.
  std::vector<std::string> ScanAll(const std::string& probeProgram) {
    std::unique_lock<std::mutex> hold(mutex_);
    {
      PluginIterator scanner(probeProgram, &config, port);
      scannerPort = scanner.Port();
      scanner.ScanningPlugin.connect([this](const std::string& path) { Announce(path); });
      if (beforeScan) beforeScan();
      scanner.Scan(plugins);
      scanner.Scan(root + "last");
      EXPECT_TRUE(announced_.wait_for(hold, kScanPatience, [this] { return AtLast(); }));
      hold.unlock();
    }
    hold.lock();
    if (AtLast()) paths_.pop_back();
    return paths_;
  }

  // Scans and deletes the scanner once it has been probing path for a while.
  void ScanAndStopDuring(const std::string& path) {
    std::unique_lock<std::mutex> hold(mutex_);
    PluginIterator scanner(ProbeProgram(), &config, port);
    scanner.ScanningPlugin.connect([this](const std::string& path) { Announce(path); });
    scanner.Scan(plugins);
    EXPECT_TRUE(
        announced_.wait_for(hold, kScanPatience, [&] { return !paths_.empty() && paths_.back() == path; }));
    hold.unlock();
    Sleep(2000);  // the probe program has started and hangs
  }

  void Announce(const std::string& path) {
    if (onAnnounce) onAnnounce(path);
    {
      std::lock_guard<std::mutex> hold(mutex_);
      paths_.push_back(path);
    }
    announced_.notify_all();
  }

  bool AtLast() const { return !paths_.empty() && paths_.back() == lastPath; }

  std::string root = Testing::makeTempFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string plugins = root + "plugins\\";
  std::string lastPath = root + "last\\last.dll";
  Configuration config{root + "Quillam.cfg"};
  std::function<void()> beforeScan;                         // runs once the scanner is listening
  std::function<void(const std::string& path)> onAnnounce;  // on the scanner's thread, before the probe
  unsigned short port = 0;                                  // the scanner's; 0 takes any free one
  unsigned short scannerPort = 0;                           // the one it took

 private:
  std::mutex mutex_;
  std::condition_variable announced_;
  std::vector<std::string> paths_;
};

TEST_F(PluginIteratorTest, QueuesASubFoldersContentBeforeTheFoldersOwnFiles) {
  const std::string a = Write(plugins + "a.dll", "a");
  CreateDirectoryA((plugins + "s").c_str(), nullptr);
  CreateDirectoryA((plugins + "s\\t").c_str(), nullptr);
  const std::string b = Write(plugins + "s\\b.dll", "b");
  const std::string c = Write(plugins + "s\\t\\c.dll", "c");
  Write(plugins + "s\\readme.txt", "not a plug-in");
  for (const auto& path : {a, b, c}) config.SetBool(Element(path) + "Rescan", false);
  EXPECT_EQ(ScanAll(ProbeProgram()), (std::vector<std::string>{c, b, a}));
  for (const auto& path : {a, b, c}) EXPECT_EQ(Attribute(path, "Failed"), "<absent>") << path;
}

struct Outcome {
  std::string path;
  const char* failed;
  const char* x64;
};

TEST_F(PluginIteratorTest, RecordsEveryDllWithWhatItsProbeProgramFound) {
  const std::vector<Outcome> outcomes = {
      {Copy("recording_plugin", "good.dll"), "false", "true"},
      {Copy("main_only_plugin", "sub folder\\main only.dll"), "false", "true"},
      {Copy("zintara3", "zintara3.dll"), "false", "true"},
      {Copy("crash_in_entry_plugin", "crash.dll"), "true", "true"},
      {Copy("die_in_entry_plugin", "dies.dll"), "true", "true"},
      {Write(plugins + "notes.dll", "This is a text file, not a library.\n"), "true", "false"},
      {Write(plugins + "old32.dll", ImageFor(0x14C)), "true", "false"},  // cannot load here: not probed
      {Write(plugins + "itanium.dll", ImageFor(0x200)), "true", "false"},
  };
  Write(plugins + "readme.txt", "not a plug-in");

  EXPECT_EQ(ScanAll(ProbeProgram()).size(), outcomes.size());
  ASSERT_TRUE(config.GetDocument()->Save(root + "Quillam.cfg"));
  Configuration saved(root + "Quillam.cfg");
  for (const auto& outcome : outcomes) {
    const std::string element = saved.ElementPathWithAttribute(kPlugins, "Filename", outcome.path, false);
    const auto value = [&](const char* key) { return saved.GetString(element + key, "<absent>"); };
    EXPECT_EQ(value("Failed"), outcome.failed) << outcome.path;
    EXPECT_EQ(value("x64"), outcome.x64) << outcome.path;
    EXPECT_EQ(value("Rescan"), "false") << outcome.path;
    EXPECT_EQ(value("AsyncReady"), "false") << outcome.path;
    EXPECT_EQ(value("Hidden"), "false") << outcome.path;
    EXPECT_EQ(value("Arranger"), "") << outcome.path;
  }
  // One element for each DLL and the one queued last; none for the text file.
  EXPECT_EQ(saved.IndexOfElementWithAttribute(kPlugins, "Filename", "none"),
            static_cast<int>(outcomes.size()) + 1);
}

struct Answer {
  const char* name;
  const char* pieces;  // one line per piece sent, bytes in decimal
  const char* failed;
};

TEST_F(PluginIteratorTest, OnlyAConnectionThatStartsWithOneAndThreeIsASuccess) {
  const std::vector<Answer> answers = {
      {"one-three-zero", "1 3 0\n", "false"},
      {"one-three", "1 3\n", "false"},
      {"split", "1\n3\n", "false"},
      {"more-after", "1 3\n9 9 9\n", "false"},
      {"three-one", "3 1\n", "true"},
      {"one-only", "1\n", "true"},
      {"late", "0 1 3\n", "true"},
      {"nothing", "", "true"},
      {"noise", "255 255 255 255 1 3\n", "true"},
  };
  for (const auto& answer : answers) Write(plugins + answer.name + ".dll", answer.pieces);
  ScanAll(FakeProbeProgram());
  for (const auto& answer : answers)
    EXPECT_EQ(Attribute(plugins + answer.name + ".dll", "Failed"), answer.failed) << answer.name;
}

TEST_F(PluginIteratorTest, ADllWhoseRescanIsFalseIsSkippedWithoutAProbe) {
  const std::string done = Write(plugins + "done.dll", "1 3\n");
  config.SetBool(Element(done) + "Rescan", false);
  EXPECT_EQ(ScanAll(FakeProbeProgram()), std::vector<std::string>{done});
  EXPECT_EQ(Probed(done), "<not probed>");
  EXPECT_EQ(Attribute(done, "Failed"), "<absent>");
  EXPECT_EQ(Attribute(done, "Rescan"), "false");
}

struct Image {
  const char* name;
  std::uint16_t machine;
  bool probed;
  const char* x64;
};

TEST_F(PluginIteratorTest, OnlyDllsBuiltForAProcessorOfTheHostsWidthAreProbed) {
  const std::vector<Image> images = {
      {"amd64", 0x8664, true, "true"},
      {"i386", 0x14C, false, "false"},
      {"ia64", 0x200, false, "false"},
  };
  for (const auto& image : images) Write(plugins + image.name + ".dll", ImageFor(image.machine));
  ScanAll(FakeProbeProgram());
  EXPECT_NE(scannerPort, 0);
  for (const auto& image : images) {
    const std::string path = plugins + image.name + ".dll";
    EXPECT_EQ(Probed(path), image.probed ? std::to_string(scannerPort) : "<not probed>") << image.name;
    EXPECT_EQ(Attribute(path, "x64"), image.x64) << image.name;
    EXPECT_EQ(Attribute(path, "Failed"), "true") << image.name;  // no image here answers
  }
}

TEST_F(PluginIteratorTest, AProbeProgramThatCannotStartLeavesTheDllFailed) {
  const std::string good = Copy("recording_plugin", "good.dll");
  ScanAll(root + "no such probe.exe");
  EXPECT_EQ(Attribute(good, "Failed"), "true");
  EXPECT_EQ(Attribute(good, "Rescan"), "false");
}

TEST_F(PluginIteratorTest, AHangingProbeProgramIsKilledAndTheScanGoesOn) {
  const std::string hangs = Copy("hang_in_entry_plugin", "sub\\hangs.dll");
  const std::string good = Copy("recording_plugin", "good.dll");  // probed after: the sub-folder comes first
  EXPECT_EQ(ScanAll(ProbeProgram()), (std::vector<std::string>{hangs, good}));
  EXPECT_EQ(Attribute(hangs, "Failed"), "true");
  EXPECT_EQ(Attribute(hangs, "Rescan"), "false");
  EXPECT_EQ(Attribute(good, "Failed"), "false");
}

TEST_F(PluginIteratorTest, StoppingDuringAProbeEndsItAndMarksTheDllForRescan) {
  const std::string hangs = Copy("hang_in_entry_plugin", "hangs.dll");
  ScanAndStopDuring(hangs);
  EXPECT_EQ(Attribute(hangs, "Failed"), "true");
  EXPECT_EQ(Attribute(hangs, "Rescan"), "true");
}

// Holds the scanner's port and keeps what arrives.
class PortHolder : public Common::System::Sockets::TcpServerSocket {
 public:
  ~PortHolder() override { Close(); }
  void OnReceive(int, const char* data, int length) override {
    std::lock_guard<std::mutex> hold(mutex_);
    received_.append(data, length);
  }
  std::string Received() {
    std::lock_guard<std::mutex> hold(mutex_);
    return received_;
  }

 private:
  std::mutex mutex_;
  std::string received_;
};

TEST_F(PluginIteratorTest, WithItsPortTakenTheScannerStillProbesButHearsNoSuccess) {
  PortHolder holder;
  ASSERT_TRUE(holder.Open(ProbeProtocol::kAddress, 0));
  port = holder.Port();
  const std::string good = Copy("recording_plugin", "good.dll");
  ScanAll(ProbeProgram());
  EXPECT_EQ(Attribute(good, "Failed"), "true");
  EXPECT_EQ(Attribute(good, "Rescan"), "false");
  EXPECT_EQ(holder.Received(), std::string("\x01\x03", 2));  // the probe program did answer
}

TEST_F(PluginIteratorTest, ASuccessMessageWhileNoProbeRunsCountsForNothing) {
  const std::string silent = Write(plugins + "silent.dll", "");  // its stand-in probe program sends nothing
  beforeScan = [this] {
    // Returns once the scanner has taken the bytes and closed the connection.
    EXPECT_TRUE(SendProbeAnswer(scannerPort, {std::string("\x01\x03", 2)}));
  };
  ScanAll(FakeProbeProgram());
  EXPECT_EQ(Attribute(silent, "Failed"), "true");
}

// A connection to the scanner's port that sends nothing yet.
SOCKET Connect(unsigned short port) {
  const SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = inet_addr(ProbeProtocol::kAddress);
  address.sin_port = htons(port);
  EXPECT_EQ(connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  const DWORD patienceMs = 10000;
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&patienceMs),
             sizeof patienceMs);
  return connection;
}

TEST_F(PluginIteratorTest, ASuccessOnAConnectionMadeBeforeTheProbeBeganCountsForNothing) {
  CreateDirectoryA((plugins + "s").c_str(), nullptr);
  const std::string first = Write(plugins + "s\\first.dll", "");  // probed first; sends nothing
  // Its stand-in stays connected for about two seconds, then sends no success.
  const std::string second = Write(plugins + "second.dll", std::string(10, '\n') + "9 9\n");
  Common::System::Sockets::WinSocketBase winsock;
  SOCKET early = INVALID_SOCKET;
  std::atomic<bool> scanned{false};
  std::thread late;
  onAnnounce = [&](const std::string& path) {
    // Made while the first probe begins, like the connection of a probe program that is then killed.
    if (path == first) early = Connect(scannerPort);
    if (path != second) return;
    late = std::thread([&] {
      // Once the second probe program runs, the old connection answers with a success. The scan is
      // through only after that program has ended: not probed by then, it never ran.
      for (;;) {
        const bool over = scanned;
        if (Probed(second) != "<not probed>") break;
        if (over) {
          ADD_FAILURE() << "the second probe program never ran";
          return;
        }
        Sleep(10);
      }
      EXPECT_EQ(send(early, "\x01\x03", 2, 0), 2);
      char byte;
      recv(early, &byte, 1, 0);  // returns when the scanner has taken the bytes and closed it
    });
  };
  EXPECT_EQ(ScanAll(FakeProbeProgram()), (std::vector<std::string>{first, second}));
  scanned = true;
  if (late.joinable()) late.join();
  closesocket(early);
  EXPECT_EQ(Attribute(first, "Failed"), "true");
  EXPECT_EQ(Attribute(second, "Failed"), "true");
}

TEST_F(PluginIteratorTest, StoppingWithAFullQueueNeverWaitsForIt) {
  // More paths than the queue holds: Scan returns once the scanner has taken the first ones.
  for (int i = 0; i < PluginIterator::kQueueSize + 60; ++i) Write(plugins + std::to_string(i) + ".dll", "");
  auto* scanner = new PluginIterator(root + "no such probe.exe", &config, port);
  scanner->Scan(plugins);
  std::atomic<bool> stopped{false};
  std::thread stop([&] {
    delete scanner;
    stopped = true;
  });
  for (int i = 0; i < 600 && !stopped; ++i) Sleep(100);
  if (!stopped) {
    stop.detach();
    FAIL() << "deleting the scanner does not return";
  }
  stop.join();
}

}  // namespace
}  // namespace Ombix::Kelvane
