#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "host/hosting/HostTexts.h"
#include "host/hosting/ProcessLevelRegistry.h"
#include "host/hosting/VstHostCallback.h"

namespace Ombix::Kelvane {
namespace {

VstIntPtr Ask(VstInt32 opcode, void* ptr = nullptr, VstInt32 index = 0, VstIntPtr value = 0) {
  return VstHostCallback(nullptr, opcode, index, value, ptr, 0.0f);
}

VstIntPtr AskOnNewThread(VstInt32 opcode, int registerAs = 0) {
  VstIntPtr answer = -1;
  std::thread([&] {
    if (registerAs != 0) processLevelRegistry.RegisterCurrentThread(registerAs);
    answer = Ask(opcode);
  }).join();
  return answer;
}

TEST(HostCallback, ProcessLevelFollowsTheThreadRegistry) {
  EXPECT_EQ(AskOnNewThread(audioMasterGetCurrentProcessLevel), 3);
  EXPECT_EQ(AskOnNewThread(audioMasterGetCurrentProcessLevel, ProcessLevelRegistry::AudioThread), 2);
  EXPECT_EQ(AskOnNewThread(audioMasterGetCurrentProcessLevel, ProcessLevelRegistry::GuiThread), 1);
  processLevelRegistry.RegisterCurrentThread(ProcessLevelRegistry::GuiThread);
  EXPECT_EQ(Ask(audioMasterGetCurrentProcessLevel), 1);
  EXPECT_EQ(AskOnNewThread(audioMasterGetCurrentProcessLevel), 3);
}

TEST(HostCallback, HostTextsAndVersions) {
  SetHostTexts("Ombix Labs", "Quillam", 900);
  char text[64];
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(Ask(audioMasterGetVendorString, text), 1);
  EXPECT_STREQ(text, "Ombix Labs");
  EXPECT_EQ(Ask(audioMasterGetProductString, text), 1);
  EXPECT_STREQ(text, "Quillam");
  EXPECT_EQ(Ask(audioMasterGetVendorVersion), 900);
  EXPECT_EQ(Ask(audioMasterVersion), 2400);
}

TEST(HostCallback, AHostTextLongerThanThePluginsBufferIsCut) {
  SetHostTexts(std::string(100, 'v'), "Quillam", 900);
  char text[80];
  std::memset(text, 'x', sizeof text);
  Ask(audioMasterGetVendorString, text);
  EXPECT_EQ(std::string(text), std::string(63, 'v'));
  EXPECT_EQ(text[64], 'x');
  SetHostTexts("Ombix Labs", "Quillam", 900);
}

struct AnswerCase {
  VstInt32 opcode;
  VstIntPtr answer;
};

class HostCallbackAnswers : public testing::TestWithParam<AnswerCase> {};

TEST_P(HostCallbackAnswers, WithoutAPlugin) {
  char text[] = "sizeWindow";
  EXPECT_EQ(Ask(GetParam().opcode, text), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostCallbackAnswers,
    testing::Values(AnswerCase{audioMasterVersion, 2400}, AnswerCase{audioMasterIOChanged, 1},
                    AnswerCase{audioMasterCanDo, 1}, AnswerCase{audioMasterGetLanguage, 1},
                    AnswerCase{audioMasterUpdateDisplay, 1}, AnswerCase{audioMasterGetDirectory, 0},
                    AnswerCase{audioMasterAutomate, 0}, AnswerCase{audioMasterIdle, 0},
                    AnswerCase{audioMasterWantMidi, 0}, AnswerCase{audioMasterGetBlockSize, 0},
                    AnswerCase{audioMasterGetSampleRate, 0}, AnswerCase{audioMasterSizeWindow, 0},
                    AnswerCase{audioMasterBeginEdit, 0}, AnswerCase{audioMasterEndEdit, 0}, AnswerCase{45, 0},
                    AnswerCase{99, 0}, AnswerCase{-1, 0}));

TEST(HostCallback, CanDoAnswersYesToAnyText) {
  char anything[] = "receiveVstTimeInfo";
  EXPECT_EQ(Ask(audioMasterCanDo, anything), 1);
}

}  // namespace
}  // namespace Ombix::Kelvane
