#pragma once

// The plug-in's fast arithmetic. Their exact results are part of the sound (every filter, LFO and distortion
// calls them) and of what the editor shows, so they are computed bit for bit as described at each routine;
// they are not general-purpose replacements of the library's functions.

// x with its sign bit cleared (also for -0 and NaN).
float fastAbs(float x);

// x limited to lo..hi (for lo <= hi) without a comparison: (|x - lo| - |x - hi| + lo + hi) * 0.5.
float clip(float x, float lo, float hi);

// e^x approximated as 2^(1.4408 x) with a quadratic mantissa: 2^floor(y) * (1 + 0.75 f + 0.25 f^2) for
// y = 1.4408 x, f = y - floor(y). Callers pass a float widened to double and keep y within -1022..1023.
float fastExp(double x);

// sin(x) for x in -pi..pi with the angle quantised to 2^32 steps per turn; beyond about pi the value at -pi.
float fastSine(float x);

// cos(x) for x in -pi..pi by a quarter turn added to the integer phase; beyond about pi the value at -pi/2.
float fastCosine(float x);

// A soft saturation of x: u / (|u| * k + 1) * 10000 with u = x * 0.0001 * (k + 1).
float softSaturate(float x, float k);
