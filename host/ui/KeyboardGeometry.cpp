#include "host/ui/KeyboardGeometry.h"

namespace Ombix::Kelvane {

namespace {

constexpr bool blackKey[12] = {false, true, false, true, false, false, true, false, true, false, true, false};
// The white slot of a black key is the slot of the white key to its right.
constexpr int whiteSlot[12] = {0, 1, 1, 2, 2, 3, 4, 4, 5, 5, 6, 6};
constexpr int imageColumn[12] = {0, 0, 1, 0, 2, 0, 0, 1, 0, 1, 0, 2};
constexpr int leftNeighbour[12] = {-1, 0, -2, 0, -2, -1, 0, -2, 0, -2, 0, -2};
constexpr int slotPitchClass[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int drawingOrder[12] = {0, 2, 4, 5, 7, 9, 11, 1, 3, 6, 8, 10};

}  // namespace

bool IsBlackKey(int pitchClass) {
  return blackKey[pitchClass];
}
int WhiteImageColumn(int pitchClass) {
  return imageColumn[pitchClass];
}
int LeftWhiteNeighbour(int pitchClass) {
  return leftNeighbour[pitchClass];
}
int DrawingOrder(int i) {
  return drawingOrder[i];
}

int KeyLeft(int note, int scroll, const KeySizes& sizes) {
  const int pitchClass = note % 12;
  int x = sizes.whiteWidth * (7 * (note / 12) + whiteSlot[pitchClass]) - scroll;
  if (blackKey[pitchClass]) {
    x -= sizes.blackWidth / 2;
  }
  return x;
}

unsigned char NoteAtPoint(int x, int y, int scroll, const KeySizes& sizes) {
  if (y < 0 || y > sizes.whiteHeight) {
    return NoNote;
  }
  const int p = x + scroll;
  const int k = p / sizes.whiteWidth;
  const int r = p % sizes.whiteWidth;
  // Points left of the first key (p < 0) truncate towards zero: test p itself as well.
  if (k < 0 || p < 0) {
    return NoNote;
  }
  const int octave = k / 7;
  if (octave > 10) {
    return NoNote;
  }
  const int note = slotPitchClass[k % 7] + 12 * octave;
  if (note >= NoteCount) {
    return NoNote;
  }
  if (y > sizes.blackHeight) {
    return static_cast<unsigned char>(note);
  }
  const int half = sizes.blackWidth / 2;
  int candidate = note;
  if (r < half && note > 0) {
    candidate = note - 1;
  } else if (r > sizes.whiteWidth - half) {
    candidate = note + 1;
  }
  if (candidate < NoteCount && blackKey[candidate % 12]) {
    return static_cast<unsigned char>(candidate);
  }
  return static_cast<unsigned char>(note);
}

}  // namespace Ombix::Kelvane
