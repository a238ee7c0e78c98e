#pragma once

#include <cstdint>

#include "plugin/engine/dsp/FloatVector.h"
#include "plugin/engine/filters/FilterState.h"

// What a kernel runs on: one channel (values are floats) or the left and right channel of a filter side by
// side (values are lanes 0 and 1 of a FloatVector, whose lanes compute exactly as floats do). A kernel
// written once against either gives each channel the same samples; the pair runs both at the cost of one.
class OneChannel {
 public:
  using Value = float;

  OneChannel(float* buffer, FilterState* state) : buffer(buffer), state(state) {}

  Value element(std::int32_t index) const { return state->element[index]; }
  void setElement(std::int32_t index, Value value) { state->element[index] = value; }
  Value sample(std::int32_t i) const { return buffer[i]; }
  void setSample(std::int32_t i, Value value) { buffer[i] = value; }

 private:
  float* buffer;
  FilterState* state;
};

class TwoChannels {
 public:
  using Value = FloatVector;

  TwoChannels(float* left, float* right, FilterState* leftState, FilterState* rightState)
      : left(left), right(right), leftState(leftState), rightState(rightState) {}

  Value element(std::int32_t index) const {
    return FloatVector::pair(leftState->element[index], rightState->element[index]);
  }
  void setElement(std::int32_t index, Value value) {
    leftState->element[index] = value.lane0();
    rightState->element[index] = value.lane1();
  }
  Value sample(std::int32_t i) const { return FloatVector::pair(left[i], right[i]); }
  void setSample(std::int32_t i, Value value) {
    left[i] = value.lane0();
    right[i] = value.lane1();
  }

 private:
  float* left;
  float* right;
  FilterState* leftState;
  FilterState* rightState;
};
