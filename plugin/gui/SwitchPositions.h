#pragma once

namespace Gui {

// The frame a multi-position switch shows for a value: the nearest of its positions.
long switchPosition(float value, long positions);

// The value of a switch for a distance along it from its start: whole zones of zoneExtent pixels
// counted over the positions, held to 0..1.
float switchValueAt(long distance, double zoneExtent, long positions);

}  // namespace Gui
