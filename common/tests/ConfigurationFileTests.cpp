#include "common/config/Configuration.h"
#include "common/logging/ILogDevice.h"
#include "common/logging/Logger.h"

#include "FileHelpers.h"
#include "TestPaths.h"
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

#include <random>

using Common::Config::Configuration;
using namespace FileTesting;

namespace {

// Quillam.cfg as the store writes it: CR LF line ends, two spaces per level, attributes sorted
// by name, markup in values escaped.
const std::string Fixture =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
    "<Configuration>\r\n"
    "  <Drivers AudioDriver=\"Lynx &lt;Two&gt; &quot;B&quot; &amp; Co\" AudioSystem=\"ASIO\">\r\n"
    "    <DriverInfo>\r\n"
    "      <AudioSystem Name=\"ASIO\">\r\n"
    "        <Driver BufferSize=\"512\" Name=\"ASIO4ALL v2\" SampleRate=\"44100\"/>\r\n"
    "      </AudioSystem>\r\n"
    "      <AudioSystem Name=\"DirectSound\">\r\n"
    "        <Driver Channels=\"\" Enabled=\"false\" Name=\"Primary Sound Driver\" "
    "SampleRate=\"48000.5\"/>\r\n"
    "      </AudioSystem>\r\n"
    "    </DriverInfo>\r\n"
    "  </Drivers>\r\n"
    "  <PluginSystem>\r\n"
    "    <VST2 DefaultPath=\"C:\\Program Files\\VST 100%\"/>\r\n"
    "  </PluginSystem>\r\n"
    "</Configuration>\r\n";

const std::string AudioDriver = "Lynx <Two> \"B\" & Co";

// Fills a store with the settings of the fixture, the way the host's settings model does.
void fillLikeTheFixture(Configuration& store) {
  store.SetString("Drivers/AudioSystem", "ASIO");
  store.SetString("Drivers/AudioDriver", AudioDriver);
  const std::string systems = "Drivers/DriverInfo/AudioSystem";
  const std::string asio = store.ElementPathWithAttribute(systems, "Name", "ASIO", true);
  const std::string asioDriver = store.ElementPathWithAttribute(asio + "Driver", "Name", "ASIO4ALL v2", true);
  store.SetDouble(asioDriver + "SampleRate", 44100.0);
  store.SetInt(asioDriver + "BufferSize", 512);
  const std::string ds = store.ElementPathWithAttribute(systems, "Name", "DirectSound", true);
  const std::string dsDriver =
      store.ElementPathWithAttribute(ds + "Driver", "Name", "Primary Sound Driver", true);
  store.SetDouble(dsDriver + "SampleRate", 48000.5);
  store.SetBool(dsDriver + "Enabled", false);
  store.SetEmpty(dsDriver + "Channels");
  store.SetString("PluginSystem/VST2/DefaultPath", "C:\\Program Files\\VST 100%");
}

class RecordingDevice : public Common::Logging::ILogDevice {
 public:
  ~RecordingDevice() override { DetachFromAllLoggers(); }
  void Write(int, const std::string& text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

class ConfigurationFileTest : public ::testing::Test {
 protected:
  const std::string folder = Testing::makeTempFolder("configuration-file");
  const std::string path = folder + "Quillam.cfg";
  const std::string bad = path + ".bad";
};

}  // namespace

TEST_F(ConfigurationFileTest, TheStoreWritesTheFileByteForByte) {
  {
    Configuration store(path);
    fillLikeTheFixture(store);
    ASSERT_TRUE(store.Save());
  }
  EXPECT_EQ(Fixture, readFile(path));
  EXPECT_FALSE(exists(bad));
}

TEST_F(ConfigurationFileTest, TheFileReadsBackAndSavesUnchanged) {
  writeFile(path, Fixture);
  Configuration store(path);
  EXPECT_EQ("ASIO", store.GetString("Drivers/AudioSystem", ""));
  EXPECT_EQ(AudioDriver, store.GetString("Drivers/AudioDriver", ""));
  EXPECT_EQ(512, store.GetInt("Drivers/DriverInfo/AudioSystem<0>/Driver<0>/BufferSize", 0));
  EXPECT_EQ(48000.5, store.GetDouble("Drivers/DriverInfo/AudioSystem<1>/Driver/SampleRate", 0));
  EXPECT_FALSE(store.GetBool("Drivers/DriverInfo/AudioSystem<1>/Driver/Enabled"));
  EXPECT_EQ("", store.GetString("Drivers/DriverInfo/AudioSystem<1>/Driver/Channels", "default"));
  EXPECT_EQ("Drivers/DriverInfo/AudioSystem<1>/",
            store.ElementPathWithAttribute("Drivers/DriverInfo/AudioSystem", "Name", "DirectSound", false));

  const std::string copy = folder + "copy.cfg";
  ASSERT_TRUE(store.GetDocument()->Save(copy));
  EXPECT_EQ(Fixture, readFile(copy));
  EXPECT_FALSE(exists(bad));
}

TEST_F(ConfigurationFileTest, EveryByteValueSurvivesARoundTrip) {
  std::string everything;
  for (int c = 1; c < 256; ++c) everything += static_cast<char>(c);
  {
    Configuration store(path);
    store.SetString("Drivers/AudioDriver", everything);
    store.SetString("Drivers/Name", "<!-- \"x\" -->]]><![CDATA[&amp;");
    store.GetDocument()->GetRoot()->AddChild("Text", everything);
    ASSERT_TRUE(store.GetDocument()->Save(path));
  }
  Configuration store(path);
  EXPECT_EQ(everything, store.GetString("Drivers/AudioDriver", ""));
  EXPECT_EQ("<!-- \"x\" -->]]><![CDATA[&amp;", store.GetString("Drivers/Name", ""));
  EXPECT_EQ(everything, store.GetDocument()->GetRoot()->GetChildren().at(1)->GetText());
  EXPECT_FALSE(exists(bad));
}

TEST_F(ConfigurationFileTest, AnUnreadableFileIsKeptAsideLoggedAndLeftAsItWas) {
  struct Case {
    std::string name;
    std::string content;
  };
  std::vector<Case> cases = {
      {"unclosed tags", "<Configuration><Drivers>"},
      {"mismatched tags", "<Configuration><Drivers></Driver></Configuration>"},
      {"declaration only", Fixture.substr(0, Fixture.find("\r\n") + 2)},
      {"unfinished comment inside", "<Configuration><!-- note </Configuration>"},
      {"unfinished CDATA inside", "<Configuration><![CDATA[ </Configuration>"},
      {"DOCTYPE without internal subset", "<!DOCTYPE c><Configuration/>"},
      {"deep nesting", std::string(100000, '<')},
      {"nested far too deep",
       [] {
         std::string data;
         for (int i = 0; i < 5000; ++i) data += "<a>";
         return data;
       }()},
  };
  std::mt19937 random(6);
  for (int i = 0; i < 20; ++i) {
    std::string noise(1 + random() % 4096, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    if (noise.find('<') != std::string::npos)
      noise[noise.find('<')] = 'x';  // no tag at all: surely unreadable
    cases.push_back({"binary noise " + std::to_string(i), noise});
  }
  for (std::size_t length = 1; length < Fixture.size(); ++length) {
    if (length >= Fixture.rfind("</Configuration>") + 16) break;
    cases.push_back({"fixture cut after " + std::to_string(length) + " bytes", Fixture.substr(0, length)});
  }

  RecordingDevice log;
  Common::Logging::theLogger.AddDevice(&log, Common::Logging::Logger::AllLevels);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(path, c.content);
    DeleteFileA(bad.c_str());
    log.lines.clear();
    {
      Configuration store(path);
      EXPECT_EQ("Configuration", XmlTesting::describeRoot(*store.GetDocument()));
      EXPECT_EQ("default", store.GetString("Drivers/AudioSystem", "default"));
    }
    EXPECT_EQ(c.content, readFile(path));
    EXPECT_EQ(c.content, readFile(bad));
    ASSERT_EQ(1u, log.lines.size());
    EXPECT_EQ("Configuration file " + path + " could not be read; it is kept as " + bad + "\n", log.lines[0]);
  }
  Common::Logging::theLogger.RemoveDevice(&log);
}

TEST_F(ConfigurationFileTest, ReadableFilesAreNotSetAside) {
  struct Case {
    std::string name;
    std::string content;
    std::string expected;
  };
  const Case cases[] = {
      {"empty file", "", "Configuration"},
      {"fixture with a trailing comment", Fixture + "<!-- saved by hand", "Configuration"},
      {"second root dropped", "<Settings a=\"1\"/><Configuration b=\"2\"/>", "Settings[a=1;]"},
      {"unfinished CDATA after the root", "<Configuration/><![CDATA[", "Configuration"},
      {"fixture without its last line end", Fixture.substr(0, Fixture.size() - 2), "Configuration"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(path, c.content);
    DeleteFileA(bad.c_str());
    Configuration store(path);
    const std::string picture = XmlTesting::describeRoot(*store.GetDocument());
    EXPECT_EQ(c.expected, picture.substr(0, c.expected.size()));
    EXPECT_FALSE(exists(bad));
    EXPECT_EQ(c.content, readFile(path));
  }
}

TEST_F(ConfigurationFileTest, AFolderInThePlaceOfTheFileGivesAnEmptyStoreThatCannotBeSaved) {
  CreateDirectoryA(path.c_str(), nullptr);
  RecordingDevice log;
  Common::Logging::theLogger.AddDevice(&log, Common::Logging::Logger::AllLevels);
  Configuration store(path);
  EXPECT_EQ("Configuration", XmlTesting::describeRoot(*store.GetDocument()));
  EXPECT_FALSE(store.GetDocument()->Save(path));
  EXPECT_FALSE(store.Save());
  Common::Logging::theLogger.RemoveDevice(&log);
  EXPECT_EQ(std::vector<std::string>{"Configuration file " + path + " could not be saved\n"}, log.lines);
}

TEST_F(ConfigurationFileTest, AFileThatCanBeNeitherReadNorKeptAsideIsNeverOverwritten) {
  writeFile(path, Fixture);
  RecordingDevice log;
  Common::Logging::theLogger.AddDevice(&log, Common::Logging::Logger::AllLevels);
  {
    // Held open without sharing: neither the store nor the copy can read it.
    const HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Configuration store(path);
    CloseHandle(held);
    EXPECT_EQ("default", store.GetString("Drivers/AudioSystem", "default"));
    store.SetString("Drivers/AudioSystem", "DirectSound");
    EXPECT_FALSE(store.Save());
  }
  Common::Logging::theLogger.RemoveDevice(&log);
  EXPECT_EQ(Fixture, readFile(path));
  EXPECT_FALSE(exists(bad));
  EXPECT_EQ(
      (std::vector<std::string>{
          "Configuration file " + path + " could not be read, nor copied to " + bad + "\n",
          "Configuration file " + path + " is not saved: the settings it holds could not be kept aside\n"}),
      log.lines);

  // Once readable again, the next store reads and saves it as usual.
  Configuration store(path);
  EXPECT_EQ("ASIO", store.GetString("Drivers/AudioSystem", ""));
  EXPECT_TRUE(store.Save());
  EXPECT_EQ(Fixture, readFile(path));
}
