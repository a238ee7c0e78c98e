#include "common/config/Configuration.h"

#include "TestPaths.h"
#include "XmlTestHelpers.h"

#include <gtest/gtest.h>

using Common::Config::Configuration;

namespace {

// A store that starts empty: its file does not exist.
class ConfigurationTest : public ::testing::Test {
 protected:
  Configuration store{Testing::makeTempFolder("configuration") + "missing.cfg"};

  std::string tree() { return XmlTesting::describeRoot(*store.GetDocument()); }
};

}  // namespace

TEST_F(ConfigurationTest, AMissingFileGivesAnEmptyStoreNamedConfiguration) {
  EXPECT_EQ("Configuration", tree());
}

TEST_F(ConfigurationTest, KeysNameElementsAndTheirLastSegmentAnAttribute) {
  store.SetString("Drivers/AudioSystem", "ASIO");
  store.SetString("PluginSystem/VST2/DefaultPath", "C:\\VST");
  store.SetString("Drivers/DriverInfo/AudioSystem<0>/Driver<1>/SampleRate", "44100");
  EXPECT_EQ(
      "Configuration(Drivers[AudioSystem=ASIO;](DriverInfo(AudioSystem(Driver[SampleRate=44100;],),),),"
      "PluginSystem(VST2[DefaultPath=C:\\VST;],),)",
      tree());
  EXPECT_EQ("ASIO", store.GetString("Drivers/AudioSystem", "default"));
  EXPECT_EQ("C:\\VST", store.GetString("PluginSystem/VST2/DefaultPath", "default"));
  EXPECT_EQ("44100", store.GetString("Drivers/DriverInfo/AudioSystem/Driver/SampleRate", "default"));
  EXPECT_EQ("default", store.GetString("Drivers/DriverInfo/AudioSystem<0>/Driver<1>/SampleRate", "default"));
  EXPECT_EQ("default", store.GetString("Drivers/Missing", "default"));
  EXPECT_EQ("default", store.GetString("Nowhere/AudioSystem", "default"));
}

TEST_F(ConfigurationTest, AnIndexPastTheEndCreatesOneElement) {
  store.SetString("A<2>/B", "value");
  EXPECT_EQ("Configuration(A[B=value;],)", tree());
  EXPECT_EQ("default", store.GetString("A<2>/B", "default"));
  EXPECT_EQ("value", store.GetString("A/B", "default"));
  EXPECT_EQ("value", store.GetString("A<0>/B", "default"));

  store.SetString("A<1>/B", "second");
  store.SetString("A<7>/B", "third");
  EXPECT_EQ("second", store.GetString("A<1>/B", ""));
  EXPECT_EQ("third", store.GetString("A<2>/B", ""));
  EXPECT_EQ("Configuration(A[B=value;],A[B=second;],A[B=third;],)", tree());
}

TEST_F(ConfigurationTest, IndexSegmentsAreReadLikeTheStandardConversion) {
  store.SetString("A/x", "0");
  store.SetString("A<1>/x", "1");
  const std::pair<const char*, const char*> cases[] = {
      {"A<1>/x", "1"},        {"A<01>/x", "1"},     {"A<>/x", "0"},        {"A<+1>/x", "1"},
      {"A<1x>/x", "1"},       {"A<x1>/x", "0"},     {"A<1>tail/x", "1"},   {"A<99999999999>/x", "default"},
      {"A<-1>/x", "default"}, {"A<1/x", "default"}, {"A>1</x", "default"},
  };
  for (const auto& [key, expected] : cases) EXPECT_EQ(expected, store.GetString(key, "default")) << key;
}

TEST_F(ConfigurationTest, KeysThatCouldNotBeStoredAreNeverWritten) {
  const char* keys[] = {"Name",  "A/",    "/A",    "A//B",   "A<1/B", "A<-1>/B", "<1>/B",
                        "A B/C", "A/B C", "A/B=C", "A/B\"C", "A/B>C", "A/B<C",   "A\t/B",
                        "!A/B",  "?A/B",  "A&/B",  "A/",     "",      "/",       "A>/B"};
  for (const char* key : keys) {
    store.SetString(key, "value");
    EXPECT_EQ("default", store.GetString(key, "default")) << key;
  }
  EXPECT_EQ("Configuration", tree());
}

TEST_F(ConfigurationTest, NumbersAreWrittenInDecimal) {
  store.SetInt("N/int", -42);
  store.SetDouble("N/rate", 44100.0);
  store.SetDouble("N/half", 48000.5);
  store.SetDouble("N/long", 1.0 / 3.0);
  store.SetBool("N/yes", true);
  store.SetBool("N/no", false);
  store.SetEmpty("N/empty");
  EXPECT_EQ("Configuration(N[empty=;half=48000.5;int=-42;long=0.333333;no=false;rate=44100;yes=true;],)",
            tree());
  EXPECT_EQ(44100.0, store.GetDouble("N/rate", 0));
  EXPECT_EQ(-42, store.GetInt("N/int", 0));
}

TEST_F(ConfigurationTest, GettersGiveTheirDefaultsAndConvertLikeTheStandardConversions) {
  store.SetEmpty("V/empty");
  store.SetString("V/abc", "abc");
  store.SetString("V/mixed", "12abc");
  store.SetString("V/huge", "99999999999");
  store.SetString("V/real", "2.5e3");
  EXPECT_EQ(7, store.GetInt("V/absent", 7));
  EXPECT_EQ(7, store.GetInt("V/empty", 7));
  EXPECT_EQ(0, store.GetInt("V/abc", 7));
  EXPECT_EQ(12, store.GetInt("V/mixed", 7));
  EXPECT_EQ(2147483647, store.GetInt("V/huge", 7));
  EXPECT_EQ(2500.0, store.GetDouble("V/real", 7));
  EXPECT_EQ(7.5, store.GetDouble("V/absent", 7.5));
  EXPECT_EQ(7.5, store.GetDouble("V/empty", 7.5));
  EXPECT_EQ(0.0, store.GetDouble("V/abc", 7.5));
  EXPECT_EQ("", store.GetString("V/empty", "default")) << "an empty value is a value";
}

TEST_F(ConfigurationTest, YesNoSettingsReadYesUnlessTheyBeginOtherwise) {
  const std::pair<const char*, bool> cases[] = {{"true", true},   {"True", true}, {"T", true},  {"", true},
                                                {"false", false}, {"yes", false}, {"1", false}, {"0", false}};
  for (const auto& [value, expected] : cases) {
    store.SetString("B/flag", value);
    EXPECT_EQ(expected, store.GetBool("B/flag")) << '"' << value << '"';
  }
  EXPECT_TRUE(store.GetBool("B/absent"));
  EXPECT_TRUE(store.GetBool("Absent/flag"));
  EXPECT_TRUE(store.GetBool("flag"));
}

TEST_F(ConfigurationTest, ElementPathWithAttributeFindsOrAppendsTheElement) {
  const std::string path = "Drivers/DriverInfo/AudioSystem";
  EXPECT_EQ(-1, store.IndexOfElementWithAttribute(path, "Name", "ASIO"));
  EXPECT_EQ(path + "/", store.ElementPathWithAttribute(path, "Name", "ASIO", true));
  EXPECT_EQ(path + "<1>/", store.ElementPathWithAttribute(path, "Name", "DirectSound", true));
  EXPECT_EQ(path + "<0>/", store.ElementPathWithAttribute(path, "Name", "ASIO", true));
  EXPECT_EQ(path + "<2>/", store.ElementPathWithAttribute(path, "Name", "Unknown", false));
  EXPECT_EQ(1, store.IndexOfElementWithAttribute(path, "Name", "DirectSound"));
  EXPECT_EQ(-1, store.IndexOfElementWithAttribute("AudioSystem", "Name", "ASIO"));
  EXPECT_EQ(-1, store.IndexOfElementWithAttribute(path + "/", "Name", "ASIO"));
  EXPECT_EQ("Configuration(Drivers(DriverInfo(AudioSystem[Name=ASIO;],AudioSystem[Name=DirectSound;],),),)",
            tree());

  const std::string driver = store.ElementPathWithAttribute(path + "<1>/Driver", "Name", "Primary", true);
  EXPECT_EQ(path + "<1>/Driver<0>/", driver);
  store.SetInt(driver + "BufferSize", 512);
  EXPECT_EQ(512, store.GetInt(path + "<1>/Driver<0>/BufferSize", 0));
}
