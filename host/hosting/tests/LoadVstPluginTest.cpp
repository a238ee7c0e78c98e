#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>

#include "TestPaths.h"
#include "host/hosting/DirectoryRegistry.h"
#include "host/hosting/LoadVstPlugin.h"
#include "host/hosting/PluginCrashed.h"
#include "host/hosting/tests/LogCapture.h"
#include "host/hosting/tests/TestPluginLibrary.h"

namespace Ombix::Kelvane {
namespace {

using Testing::IsLoaded;
using Testing::PluginPath;

struct FailureCase {
  const char* plugin;
  const char* logLine;  // with its level in front
};

class LoadFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(LoadFailure, AnswersNullLogsWhyAndReleasesTheLibrary) {
  Testing::LogCapture log;
  EXPECT_EQ(LoadVstPlugin(PluginPath(GetParam().plugin)), nullptr);
  EXPECT_NE(log.Levels().find(GetParam().logLine), std::string::npos) << log.Levels();
  EXPECT_FALSE(IsLoaded(GetParam().plugin));
  EXPECT_EQ(directoryRegistry.CurrentFolder(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Plugins, LoadFailure,
                         testing::Values(FailureCase{"missing_plugin", "8:Unable to load library\n"},
                                         FailureCase{"no_entry_plugin", "8:Unable to retrieve main proc\n"},
                                         FailureCase{"bad_magic_plugin", "8:No magic!\n"},
                                         FailureCase{"null_record_plugin", "8:No magic!\n"}));

TEST(LoadVstPlugin, AFileThatIsNoLibraryFails) {
  const std::string folder = Testing::makeTempFolder("not-a-library");
  std::ofstream(folder + "text.dll") << "This is a text file, not a library.\n";
  Testing::LogCapture log;
  EXPECT_EQ(LoadVstPlugin(folder + "text.dll"), nullptr);
  EXPECT_TRUE(log.Contains("Unable to load library\n"));
}

class LoadCrash : public testing::TestWithParam<const char*> {};

TEST_P(LoadCrash, IsCaughtLoggedAndPassedOnAsAnException) {
  Testing::LogCapture log;
  EXPECT_THROW(LoadVstPlugin(PluginPath(GetParam())), PluginCrashed);
  EXPECT_NE(log.Levels().find("16:Plugin crashed on load\n"), std::string::npos) << log.Levels();
  EXPECT_FALSE(IsLoaded(GetParam()));
  EXPECT_EQ(directoryRegistry.CurrentFolder(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Plugins, LoadCrash,
                         testing::Values("crash_in_entry_plugin", "throw_in_entry_plugin"));

TEST(LoadVstPlugin, ALibraryExportingOnlyMainLoads) {
  auto plugin = LoadVstPlugin(PluginPath("main_only_plugin"));
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->ProductString(), "Main Only");
  EXPECT_EQ(plugin->Folder(), Testing::binaryFolder());
  plugin.reset();
  EXPECT_FALSE(IsLoaded("main_only_plugin"));
}

std::string WithForwardSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

TEST(LoadVstPlugin, APathTypedRelativeOrWithForwardSlashesLoadsFromItsFullPath) {
  const std::string folder = Testing::binaryFolder();
  const std::string parent = folder.substr(0, folder.find_last_of('\\', folder.size() - 2) + 1);
  const std::string folderName = folder.substr(parent.size(), folder.size() - parent.size() - 1);
  const Testing::WorkingFolder working(folder);
  for (const std::string& typed :
       {std::string("recording_plugin.dll"), std::string("./recording_plugin.dll"),
        ".\\..\\" + folderName + "\\recording_plugin.dll", "../" + folderName + "/recording_plugin.dll",
        WithForwardSlashes(folder) + "recording_plugin.dll"}) {
    auto plugin = LoadVstPlugin(typed);
    ASSERT_NE(plugin, nullptr) << typed;
    EXPECT_EQ(plugin->Folder(), folder) << typed;
    EXPECT_EQ(plugin->ProductString(), "Lead") << typed;
  }
  EXPECT_FALSE(IsLoaded(Testing::RecordingPluginLibrary::kName));
}

struct ReasonCase {
  const char* name;
  std::function<std::string(const std::string& folder)> makePath;  // answers the path to load
  const char* reason;                                              // the log line's text
};

// A copy of a real plug-in whose file header says it was built for another processor.
std::string PluginForMachine(const std::string& folder, std::uint16_t machine) {
  std::ifstream source(PluginPath("recording_plugin"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
  const std::uint32_t header =
      static_cast<unsigned char>(bytes[60]) | static_cast<unsigned char>(bytes[61]) << 8 |
      static_cast<unsigned char>(bytes[62]) << 16 | static_cast<unsigned char>(bytes[63]) << 24;
  bytes[header + 4] = static_cast<char>(machine & 0xFF);
  bytes[header + 5] = static_cast<char>(machine >> 8);
  const std::string path = folder + "other_machine.dll";
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

void PrintTo(const ReasonCase& c, std::ostream* out) {
  *out << c.name;
}

class LoadFailureReason : public testing::TestWithParam<ReasonCase> {};

TEST_P(LoadFailureReason, IsLoggedWithThePath) {
  const std::string path = GetParam().makePath(Testing::makeTempFolder("load-reason"));
  Testing::LogCapture log;
  EXPECT_EQ(LoadVstPlugin(path), nullptr);
  EXPECT_TRUE(log.Contains(GetParam().reason)) << log.Text();
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadFailureReason,
    testing::Values(
        ReasonCase{"noFile", [](const std::string& folder) { return folder + "absent.dll"; },
                   "absent.dll: no such file\n"},
        ReasonCase{"aFolder", [](const std::string& folder) { return folder.substr(0, folder.size() - 1); },
                   ": a folder, not a library\n"},
        ReasonCase{"text",
                   [](const std::string& folder) {
                     std::ofstream(folder + "text.dll") << "This is a text file, not a library.\n";
                     return folder + "text.dll";
                   },
                   "text.dll: not a Windows library\n"},
        ReasonCase{"i386", [](const std::string& folder) { return PluginForMachine(folder, 0x14C); },
                   "other_machine.dll: a 32-bit library\n"},
        ReasonCase{"noEntry", [](const std::string&) { return PluginPath("no_entry_plugin"); },
                   "no_entry_plugin.dll exports neither VSTPluginMain nor main\n"},
        ReasonCase{"nullRecord", [](const std::string&) { return PluginPath("null_record_plugin"); },
                   "The plugin's entry answered no effect record\n"},
        ReasonCase{"wrongMagic", [](const std::string&) { return PluginPath("bad_magic_plugin"); },
                   "The plugin's effect record has the magic 0x50747356, not 0x56737450\n"}),
    [](const testing::TestParamInfo<ReasonCase>& info) { return std::string(info.param.name); });

TEST(LoadVstPlugin, APluginWithoutReplacingProcessingIsRefusedAndClosed) {
  Testing::RecordingPluginLibrary recorder;
  for (const int flags : {0 | effFlagsHasEditor, effFlagsHasEditor | effFlagsProgramChunks}) {
    recorder.Configure(2, 2, 3, flags);
    recorder.Clear();
    Testing::LogCapture log;
    EXPECT_EQ(LoadVstPlugin(recorder.Path()), nullptr);
    EXPECT_TRUE(log.Contains("Plugin does not support processReplacing\n")) << log.Text();
    EXPECT_EQ(recorder.Instances(), 0);
    EXPECT_EQ(recorder.Lines("disp").back(), "disp 1 0 0 0.00000");
  }
}

TEST(LoadVstPlugin, APluginWithMoreChannelsThanTheHostCarriesIsRefusedAndClosed) {
  Testing::RecordingPluginLibrary recorder;
  struct Case {
    int inputs;
    int outputs;
  };
  for (const Case c : {Case{0, 100}, Case{100, 2}, Case{65, 0}}) {
    recorder.Configure(c.inputs, c.outputs, 3, effFlagsCanReplacing | effFlagsIsSynth);
    recorder.Clear();
    Testing::LogCapture log;
    EXPECT_EQ(LoadVstPlugin(recorder.Path()), nullptr) << c.inputs << " " << c.outputs;
    EXPECT_TRUE(log.Contains("Plugin has more than 64 inputs or outputs\n")) << log.Text();
    EXPECT_EQ(recorder.Instances(), 0);
    EXPECT_EQ(recorder.Lines("disp").back(), "disp 1 0 0 0.00000");
  }
  recorder.Configure(64, 64, 3, effFlagsCanReplacing);
  EXPECT_NE(LoadVstPlugin(recorder.Path()), nullptr);
}

TEST(LoadVstPlugin, TheDirectoryTextGivenToTheEntryStaysTheWrappersOwn) {
  Testing::RecordingPluginLibrary recorder;
  auto plugin = LoadVstPlugin(recorder.Path());
  ASSERT_NE(plugin, nullptr);
  const char* kept = recorder.EntryDirectory();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(reinterpret_cast<VstIntPtr>(kept), recorder.CallHost(audioMasterGetDirectory));
  EXPECT_EQ(std::string(kept), Testing::binaryFolder());
  EXPECT_EQ(kept, plugin->Folder().c_str());
}

TEST(LoadVstPlugin, TheEntrySeesTheHostButNotAWrapper) {
  Testing::RecordingPluginLibrary recorder;
  auto plugin = LoadVstPlugin(recorder.Path());
  ASSERT_NE(plugin, nullptr);
  const std::vector<std::string> lines = recorder.Lines();
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[0], "entry");
  EXPECT_EQ(lines[1], "host 1 0 0 -> 2400");
  EXPECT_EQ(lines[2], "host 16 0 0 -> 0");
  EXPECT_EQ(lines[3], "host 23 0 0 -> 3");  // the test's thread is neither GUI nor audio thread
  EXPECT_EQ(lines[5], "directory " + Testing::binaryFolder());
  EXPECT_EQ(lines[6], "disp 58 0 0 0.00000");
  EXPECT_EQ(plugin->Effect()->resvd1, reinterpret_cast<VstIntPtr>(plugin.get()));
  EXPECT_EQ(directoryRegistry.CurrentFolder(), nullptr);
}

}  // namespace
}  // namespace Ombix::Kelvane
