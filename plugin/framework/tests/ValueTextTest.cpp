// The display-text helpers of the effect base.
#include "plugin/framework/tests/RecordingEffect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr VstInt32 kMaxLen = 8;

struct TextCase {
  float value;
  const char* text;
};

std::ostream& operator<<(std::ostream& out, const TextCase& c) {
  return out << c.value;
}

// The text a helper writes into a buffer of maxLen + 1 bytes; the rest of the buffer stays untouched.
template <typename Helper>
std::string written(Helper helper, VstInt32 maxLen = kMaxLen) {
  char buffer[64];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  helper(buffer, maxLen);
  EXPECT_EQ(buffer[maxLen + 1], '#') << "written beyond maxLen + 1 bytes";
  return buffer;
}

class Float2String : public testing::TestWithParam<TextCase> {};

TEST_P(Float2String, WritesEightCharacters) {
  RecordingEffect effect;
  EXPECT_EQ(
      written([&](char* text, VstInt32 maxLen) { effect.float2string(GetParam().value, text, maxLen); }),
      GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Float2String,
    testing::Values(TextCase{1.5f, "1.500000"}, TextCase{-0.25f, "-0.25000"}, TextCase{0.0f, "0.000000"},
                    TextCase{-0.0f, "0.000000"}, TextCase{12.75f, "12.75000"}, TextCase{-12.5f, "-12.5000"},
                    TextCase{1234.5f, "1234.500"}, TextCase{1234567.0f, "1234567."},
                    TextCase{-123456.0f, "-123456."},
                    // The integer part fills all eight characters: every digit stays, the point goes.
                    TextCase{12345678.0f, "12345678"}, TextCase{99999999.0f, "Huge!"},  // is 1e8 as a float
                    TextCase{98765432.0f, "98765432"}, TextCase{-1234567.0f, "-1234567"},
                    TextCase{-9999999.0f, "-9999999"}, TextCase{-10000000.0f, "Huge!"},
                    TextCase{100000000.0f, "Huge!"},
                    TextCase{2.0f / 3.0f, "0.666666"},  // truncated, not rounded
                    TextCase{std::numeric_limits<float>::infinity(), "Huge!"},
                    TextCase{-std::numeric_limits<float>::infinity(), "Huge!"},
                    TextCase{std::numeric_limits<float>::quiet_NaN(), "Huge!"}));

TEST(Float2String, CutsToMaxLen) {
  RecordingEffect effect;
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.float2string(1.5f, text, maxLen); }, 4),
            "1.50");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.float2string(1e9f, text, maxLen); }, 3), "Hug");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.float2string(1.5f, text, maxLen); }, 0), "");
}

struct IntCase {
  VstInt32 value;
  const char* text;
};

std::ostream& operator<<(std::ostream& out, const IntCase& c) {
  return out << c.value;
}

class Int2String : public testing::TestWithParam<IntCase> {};

TEST_P(Int2String, WritesTheDigits) {
  RecordingEffect effect;
  EXPECT_EQ(
      written([&](char* text, VstInt32 maxLen) { effect.int2string(GetParam().value, text, maxLen); }, 16),
      GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Values, Int2String,
                         testing::Values(IntCase{0, "0"}, IntCase{7, "7"}, IntCase{-42, "-42"},
                                         IntCase{1000, "1000"}, IntCase{99999999, "99999999"},
                                         IntCase{100000000, "Huge!"}, IntCase{2147483647, "Huge!"},
                                         IntCase{-99999999, "-99999999"}, IntCase{-1000000000, "-1000000000"},
                                         IntCase{std::numeric_limits<VstInt32>::min(), "-2147483648"}));

TEST(Int2String, CutsToMaxLen) {
  RecordingEffect effect;
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.int2string(100000000, text, maxLen); }, 8),
            "Huge!");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.int2string(-1234567890, text, maxLen); }, 8),
            "-1234567");
}

TEST(DB2String, ZeroAndBelowAreMinusInfinity) {
  RecordingEffect effect;
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.dB2string(0.0f, text, maxLen); }), "-oo");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.dB2string(-1.0f, text, maxLen); }), "-oo");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.dB2string(1.0f, text, maxLen); }), "0.000000");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.dB2string(10.0f, text, maxLen); }), "20.00000");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.dB2string(0.01f, text, maxLen); }), "-40.0000");
}

TEST(Hz2String, DividesTheSampleRate) {
  RecordingEffect effect;  // 44100 Hz
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.Hz2string(0.0f, text, maxLen); }), "0.000000");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.Hz2string(100.0f, text, maxLen); }),
            "441.0000");
  effect.AudioEffect::setSampleRate(48000.0f);
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.Hz2string(480.0f, text, maxLen); }),
            "100.0000");
}

TEST(Ms2String, ConvertsSamplesToMilliseconds) {
  RecordingEffect effect;
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.ms2string(441.0f, text, maxLen); }),
            "10.00000");
  EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.ms2string(0.0f, text, maxLen); }), "0.000000");
}

}  // namespace
