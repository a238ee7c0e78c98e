#pragma once

namespace Ombix::Kelvane {

// Where the 128 notes of the on-screen keyboard lie. Pitch classes 0 to 11 count semitones from
// the labelled note of each octave; 1, 3, 6, 8 and 10 are the black keys. All sizes in pixels.
struct KeySizes {
  int whiteWidth;
  int whiteHeight;
  int blackWidth;
  int blackHeight;
};

constexpr unsigned char NoNote = 255;
constexpr int NoteCount = 128;
// Notes 0 to 127 span 75 white keys.
constexpr int WhiteKeyCount = 75;

bool IsBlackKey(int pitchClass);
// For white keys: the column of the white-key image (which upper edges a black key overlaps).
int WhiteImageColumn(int pitchClass);
// For white keys: the step down to the white key on the left (-1 or -2).
int LeftWhiteNeighbour(int pitchClass);
// The pitch class drawn at position i (0..11) of an octave: white keys first, then black.
int DrawingOrder(int i);

// The left edge of a note's key, with the strip scrolled by scroll pixels.
int KeyLeft(int note, int scroll, const KeySizes& sizes);
// The note under the point (x, y) of the strip scrolled by scroll pixels, NoNote when none. The
// upper parts of a white key's edges belong to the neighbouring black keys.
unsigned char NoteAtPoint(int x, int y, int scroll, const KeySizes& sizes);

}  // namespace Ombix::Kelvane
