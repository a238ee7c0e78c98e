#include "plugin/engine/Lfo.h"
#include "plugin/engine/dsp/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct LfoState {
  float phase = 0.0f;
  float lastPhase = 0.0f;
  double beats = 0.0;
  float held = 0.0f;

  float tick(float rate, int32_t syncEntry, int32_t shape, float period, float sampleRate, float tempo) {
    return lfoTick(rate, syncEntry, shape, period, sampleRate, tempo, phase, lastPhase, beats, held);
  }
};

// Ticks between successive wraps of a "Saw Up" LFO, measured over several cycles.
double ticksPerCycle(float rate, int32_t syncEntry, float sampleRate, float tempo, float period) {
  LfoState state;
  std::vector<int> wraps;
  float previous = 0.0f;
  for (int tick = 1; tick < 200000 && wraps.size() < 6; ++tick) {
    const float value = state.tick(rate, syncEntry, 2, period, sampleRate, tempo);
    if (value < previous) wraps.push_back(tick);
    previous = value;
  }
  EXPECT_GE(wraps.size(), 6u);
  return static_cast<double>(wraps.back() - wraps.front()) / static_cast<double>(wraps.size() - 1);
}

TEST(Lfo, FreeRunningFrequencyIs72Point7TimesRateSquared) {
  LfoState state;
  state.tick(1.0f, 0, 2, 36.0f, 44100.0f, 120.0f);
  EXPECT_NEAR(state.phase, 36.0 / 44100.0 * 72.7, 1e-6);

  struct Case {
    float rate;
    float sampleRate;
    float period;
  };
  for (const Case& c :
       {Case{0.5f, 44100.0f, 36.0f}, Case{0.2f, 48000.0f, 40.0f}, Case{0.1f, 96000.0f, 80.0f}}) {
    const double expectedTicks = c.sampleRate / c.period / (72.7 * c.rate * c.rate);
    EXPECT_NEAR(ticksPerCycle(c.rate, 0, c.sampleRate, 120.0f, c.period), expectedTicks, 1.0)
        << c.rate << " " << c.sampleRate;
  }
}

TEST(Lfo, SyncedPeriodFollowsTheTempo) {
  struct Case {
    int32_t entry;
    float cyclesPerBeat;
    float tempo;
  };
  for (const Case& c : {Case{12, 1.0f, 120.0f}, Case{14, 2.0f, 90.0f}, Case{7, 0.25f, 140.0f},
                        Case{20, 16.0f, 120.0f}, Case{11, 0.75f, 60.0f}}) {
    const double secondsPerCycle = 60.0 / c.tempo / c.cyclesPerBeat;
    const double expectedTicks = secondsPerCycle * 44100.0 / 36.0;
    EXPECT_NEAR(ticksPerCycle(0.3f, c.entry, 44100.0f, c.tempo, 36.0f), expectedTicks, 1.0) << c.entry;
    EXPECT_FLOAT_EQ(lfoCyclesPerBeat(c.entry), c.cyclesPerBeat);
  }
}

TEST(Lfo, SyncedPeriodStaysExactAfterHoursOfCounting) {
  // Ticks per cycle of "1" at 120 beats per minute, after ten hours of beats without a restart.
  constexpr double expectedTicks = 0.5 * 44100.0 / 36.0;
  LfoState state;
  state.beats = 72000.0;
  std::vector<int> wraps;
  float previous = 0.0f;
  for (int tick = 1; wraps.size() < 6; ++tick) {
    const float value = state.tick(0.3f, 12, 2, 36.0f, 44100.0f, 120.0f);
    if (value < previous) wraps.push_back(tick);
    previous = value;
  }
  EXPECT_NEAR((wraps.back() - wraps.front()) / 5.0, expectedTicks, 1.0);
}

TEST(Lfo, SyncEntriesOutsideTheMenuStayInsideTheTable) {
  EXPECT_FLOAT_EQ(lfoCyclesPerBeat(-3), 0.0f);
  EXPECT_FLOAT_EQ(lfoCyclesPerBeat(24), 1.0f / 128);
  EXPECT_FLOAT_EQ(lfoCyclesPerBeat(99), 1.0f / 128);
}

TEST(Lfo, ShapesGiveTheirValues) {
  struct Case {
    int32_t shape;
    float phase;
    float value;
  };
  const Case cases[] = {
      {0, 0.25f, 0.5f},
      {0, 0.75f, 0.5f},
      {1, 0.0f, 0.5f},
      {1, 0.5f, 0.5f},
      {2, 0.3f, 0.3f},
      {3, 0.3f, 0.7f},
      {4, 0.0f, 0.0f},
      {4, 0.5f, 1.0f},
      {5, 0.0f, 0.5f},
      {6, 0.49f, 1.0f},
      {6, 0.5f, 0.0f},
      {9, 0.4f, 0.0f},
      {12, 0.3f, 0.6f * 0.333f + 0.3f * 0.333f + 0.2f * 0.333f},
      {14, 0.5f, 1.0f},
      {14, 0.0f, 0.0f},
      {15, 0.3f, 0.0f},
      {-1, 0.3f, 0.0f},
  };
  for (const Case& c : cases) {
    float last = 0.0f;
    float held = 0.0f;
    EXPECT_NEAR(lfoShape(c.phase, c.shape, last, held), c.value, 1e-4f) << c.shape << " at " << c.phase;
  }
}

TEST(Lfo, LastPhaseRecordsTheShiftedPhaseForTri90) {
  float last = 0.0f;
  float held = 0.0f;
  lfoShape(0.9f, 1, last, held);
  EXPECT_NEAR(last, 0.15f, 1e-6f);
  lfoShape(0.9f, 0, last, held);
  EXPECT_FLOAT_EQ(last, 0.9f);
}

TEST(Lfo, ImpulseAndRandomChangeOnlyAtAWrap) {
  float last = 0.2f;
  float held = 0.0f;
  EXPECT_EQ(lfoShape(0.5f, 9, last, held), 0.0f);
  EXPECT_EQ(lfoShape(0.1f, 9, last, held), 1.0f);

  last = 0.9f;
  const float drawn = lfoShape(0.05f, 7, last, held);
  EXPECT_GE(drawn, 0.0f);
  EXPECT_LE(drawn, 1.001f);
  EXPECT_EQ(lfoShape(0.6f, 7, last, held), drawn);
}

TEST(Lfo, PulseWidthModulatorMovesSlowly) {
  float last = 0.0f;
  float held = 0.0f;
  EXPECT_EQ(lfoShape(0.1f, 11, last, held), 1.0f);  // width 0.1008 after one step
  EXPECT_EQ(lfoShape(0.2f, 11, last, held), 0.0f);
  EXPECT_NEAR(held, 0.002f, 1e-7f);
}

TEST(Lfo, RandomValuesStayInTheBipolarRange) {
  for (int i = 0; i < 10000; ++i) {
    const float u = randomBipolar();
    ASSERT_GE(u, -1.0f);
    ASSERT_LE(u, 1.0016f);
  }
}

TEST(Lfo, NonFiniteRateRestartsThePhase) {
  LfoState state;
  state.tick(std::nanf(""), 0, 0, 36.0f, 44100.0f, 120.0f);
  EXPECT_EQ(state.phase, 0.0f);
  state.tick(1e30f, 0, 0, 36.0f, 44100.0f, 120.0f);
  EXPECT_TRUE(std::isfinite(state.phase));
}

// The next value of the LFOs' own random state.
float nextBipolar() {
  return static_cast<float>(lfoSeed.load() * 196314165u + 907633515u) * 4.66e-10f - 1.0f;
}

TEST(Lfo, EverySyncEntryHasItsCyclesPerBeat) {
  const float cycles[25] = {0,        1.0f / 32, 1.0f / 24, 1.0f / 16, 1.0f / 12, 1.0f / 8, 1.0f / 6,
                            1.0f / 4, 0.333333f, 0.5f,      0.666666f, 0.75f,     1,        1.5f,
                            2,        3,         4,         6,         8,         12,       16,
                            24,       32,        1.0f / 64, 1.0f / 128};
  for (int32_t entry = 0; entry < 25; ++entry)
    EXPECT_FLOAT_EQ(lfoCyclesPerBeat(entry), cycles[entry]) << entry;
}

// Every shape at phases across the cycle, without and with a wrap since the previous call; the random
// shapes draw the next value of the LFOs' random state.
TEST(Lfo, EveryShapeGivesItsValueAtKnownPhases) {
  const auto triangle = [](float p) { return p > 0.5f ? 2.0f - 2.0f * p : 2.0f * p; };
  const auto organ = [](float p) { return std::fmax(0.0f, std::sin(6.28318f * p + 4.712385f)); };
  const auto fraction = [](float x) { return x - std::trunc(x); };
  for (float p : {0.0f, 0.1f, 0.3f, 0.45f, 0.6f, 0.8f, 0.95f}) {
    for (bool wrapped : {false, true}) {
      for (int32_t shape = 0; shape <= 15; ++shape) {
        SCOPED_TRACE(testing::Message() << "shape " << shape << " at " << p << (wrapped ? " wrapped" : ""));
        float last = wrapped ? 0.99f : p - 0.01f;
        float held = 0.2f;
        const float u = nextBipolar();
        float expected = 0.0f;
        float expectedHeld = 0.2f;
        float expectedLast = p;
        switch (shape) {
          case 0:
            expected = triangle(p);
            break;
          case 1: {
            float shifted = p + 0.25f;
            if (shifted > 1.0f) shifted -= 1.0f;
            expected = triangle(shifted);
            expectedLast = shifted;
            break;
          }
          case 2:
            expected = p;
            break;
          case 3:
            expected = 1.0f - p;
            break;
          case 4:
            expected = std::sin(6.28318f * p + 4.712385f) * 0.5f + 0.5f;
            break;
          case 5:
            expected = std::cos(6.28318f * p + 4.712385f) * 0.5f + 0.5f;
            break;
          case 6:
            expected = p < 0.5f ? 1.0f : 0.0f;
            break;
          case 7:
            if (wrapped) expectedHeld = u * 0.5f + 0.5f;
            expected = expectedHeld;
            break;
          case 8: {
            if (wrapped) expectedHeld = u;
            const float root = expectedHeld * 0.5f + 0.5f;
            const float n = std::trunc(root * root * 15.0f + 1.0f);
            expected = std::sin(n * 6.28318f * p + 4.712385f) * 0.5f + 0.5f;
            break;
          }
          case 9:
            expected = wrapped ? 1.0f : 0.0f;
            break;
          case 10:
            expected = u * 0.5f + 0.5f;
            break;
          case 11: {
            expectedHeld = fraction(0.2f + 0.001f);
            const float width = triangle(expectedHeld) * 0.4f + 0.1f;
            expected = p < width ? 1.0f : 0.0f;
            break;
          }
          case 12:
            expected = (fraction(2.0f * p) + p + fraction(4.0f * p)) * 0.333f;
            break;
          case 13:
            expectedHeld = fraction(0.2f + 0.0001f);
            expected = organ(p);
            break;
          case 14:
            expected = organ(p);
            break;
          default:
            break;
        }
        EXPECT_NEAR(lfoShape(p, shape, last, held), expected, 2e-6f);
        EXPECT_FLOAT_EQ(held, expectedHeld);
        EXPECT_FLOAT_EQ(last, expectedLast);
      }
    }
  }
}

}  // namespace
