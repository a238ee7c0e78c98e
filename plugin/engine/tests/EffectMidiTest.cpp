#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ZintaraFixture.h"
#include "plugin/framework/EffectOpcodes.h"
#include "plugin/framework/HostOpcodes.h"
#include "plugin/framework/VstEvents.h"

namespace {

using Bytes = std::vector<unsigned char>;
using EffectMidi = ZintaraFixture;

std::vector<float> allParameters(RecordingHost& host) {
  std::vector<float> values;
  for (VstInt32 index = 0; index < 48; ++index) values.push_back(host.getParameter(index));
  return values;
}

// The settings file of the default controller map.
Bytes defaultSettings() {
  Bytes bytes(129, 0xFF);
  bytes[0] = 1;
  auto assign = [&](int controller, int parameter) {
    bytes[1 + controller] = static_cast<unsigned char>(parameter);
  };
  assign(0, 2);
  assign(1, 1);
  assign(7, 9);
  for (int i = 0; i < 18; ++i) assign(14 + i, i);
  assign(71, 2);
  assign(74, 1);
  for (int i = 0; i < 11; ++i) assign(85 + i, 18 + i);
  for (int i = 0; i < 19; ++i) assign(102 + i, 29 + i);
  return bytes;
}

TEST_F(EffectMidi, DefaultControllersMoveTheirParameters) {
  struct Case {
    unsigned char status;
    unsigned char controller;
    unsigned char value;
    VstInt32 parameter;
    float expected;
  };
  const Case cases[] = {
      {0xB0, 74, 64, 1, 0.5f},          {0xB0, 1, 0, 1, 0.0f},         {0xB5, 7, 127, 9, 0.9921875f},
      {0xB0, 71, 32, 2, 0.25f},         {0xBF, 14, 8, 0, 0.0625f},     {0xB0, 120, 64, 47, 0.5f},
      {0xB0, 74 | 0x80, 16, 1, 0.125f}, {0xB0, 7, 64 | 0x80, 9, 0.5f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(host->sendMidi({{c.status, c.controller, c.value}}), 1);
    EXPECT_EQ(host->getParameter(c.parameter), c.expected) << "controller " << int(c.controller);
  }
}

TEST_F(EffectMidi, UnmappedControllersAndAllNotesOffChangeNoParameter) {
  const std::vector<float> before = allParameters(*host);
  host->sendMidi(
      {{0xB0, 127, 100}, {0xB0, 2, 100}, {0xB0, 121, 5}, {0x90, 60, 100}, {0x80, 60, 0}, {0xE0, 0, 127}});
  EXPECT_EQ(allParameters(*host), before);
}

TEST_F(EffectMidi, ProgramChangeSelectsAndAsksForADisplayUpdate) {
  host->clearCalls();
  host->sendMidi({{0xC3, 127, 0}});
  EXPECT_EQ(host->dispatch(effGetProgram), 127);
  EXPECT_EQ(host->text(effGetProgramName), "ATM screamer");
  EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 1);

  host->sendMidi({{0xC0, 84 | 0x80, 0}});
  EXPECT_EQ(host->dispatch(effGetProgram), 84);
  EXPECT_EQ(host->text(effGetParamDisplay, 0), "Vocal A");
  EXPECT_EQ(host->countCalls(audioMasterUpdateDisplay), 2);
}

TEST_F(EffectMidi, EventsOtherThanMidiAreSkipped) {
  VstMidiEvent event{};
  event.type = 6;  // not a MIDI event
  event.byteSize = sizeof event;
  event.midiData[0] = static_cast<char>(0xB0);
  event.midiData[1] = 74;
  event.midiData[2] = 127;
  VstEvents list{};
  list.numEvents = 1;
  list.events[0] = reinterpret_cast<VstEvent*>(&event);
  const float before = host->getParameter(1);
  EXPECT_EQ(host->dispatch(effProcessEvents, 0, 0, &list), 1);
  EXPECT_EQ(host->getParameter(1), before);
}

TEST_F(EffectMidi, WithoutSettingsFileTheDefaultMapIsSavedOnClose) {
  EXPECT_TRUE(settingsFile().empty());
  host->close();
  EXPECT_EQ(settingsFile(), defaultSettings());
}

TEST_F(EffectMidi, SettingsFileMapIsUsedAndWrittenBack) {
  Bytes settings(129, 0xFF);
  settings[0] = 9;
  settings[1 + 20] = 5;
  settings[1 + 74] = 47;
  settings[1 + 30] = 200;  // names no parameter
  host->close();           // the closing instance writes its own map
  writeSettingsFile(settings);
  openPlugin();

  const float cutoff = host->getParameter(1);
  host->sendMidi({{0xB0, 20, 64}, {0xB0, 74, 32}, {0xB0, 30, 100}});
  EXPECT_EQ(host->getParameter(5), 0.5f);
  EXPECT_EQ(host->getParameter(47), 0.25f);
  EXPECT_EQ(host->getParameter(1), cutoff);
  host->close();

  settings[1 + 30] = 0xFF;
  EXPECT_EQ(settingsFile(), settings);
}

TEST_F(EffectMidi, ShortSettingsFileKeepsTheDefaultMap) {
  host->close();
  writeSettingsFile(Bytes(100, 3));
  openPlugin();
  host->sendMidi({{0xB0, 74, 64}, {0xB0, 3, 64}});
  EXPECT_EQ(host->getParameter(1), 0.5f);
  EXPECT_NE(host->getParameter(3), 0.5f);
  host->close();
  EXPECT_EQ(settingsFile(), defaultSettings());
}

TEST_F(EffectMidi, PluginPathTooLongForItsBufferSkipsTheSettingsFile) {
  host->close();
  // A folder whose DLL path has 258 characters: more than the plug-in reads of its own path.
  std::string deep = folder;
  while (deep.size() < 245) {
    deep += std::string(std::min<std::size_t>(40, 245 - deep.size()), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    if (deep.size() < 245) deep += '\\';
  }
  const std::string longPath = deep + "\\zintara3.dll";
  ASSERT_EQ(longPath.size(), 258u);
  ASSERT_TRUE(CopyFileA(pluginPath.c_str(), longPath.c_str(), FALSE));
  writeSettingsFile(Bytes(129, 0xFF));  // maps nothing, were it read
  {
    RecordingHost deepHost(longPath);
    ASSERT_NE(deepHost.effect(), nullptr);
    deepHost.sendMidi({{0xB0, 74, 64}});
    EXPECT_EQ(deepHost.getParameter(1), 0.5f);  // the default map
  }
  EXPECT_EQ(GetFileAttributesA((deep + "\\zintara.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(settingsFile(), Bytes(129, 0xFF));
}

}  // namespace
