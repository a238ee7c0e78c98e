#pragma once

#include <cstddef>

namespace Ombix::Kelvane {

// The pictures built into the program, as the bytes of their files.
struct EmbeddedImage {
  const unsigned char* data;
  std::size_t size;
};

// The frame's icon: a 16 by 16 RGBA PNG.
EmbeddedImage FrameIconPng();
// Shown while no plug-in editor is: a 500 by 400 RGBA PNG.
EmbeddedImage LogoPng();
// The keyboard's white keys: a 24-bit Windows bitmap, a grid of 4 columns by 3 rows of keys.
EmbeddedImage WhiteKeysBmp();
// The keyboard's black keys: a 24-bit Windows bitmap, one column of 2 rows of keys.
EmbeddedImage BlackKeysBmp();

}  // namespace Ombix::Kelvane
