#pragma once

#include "dial/CImage.h"

// Dials for timing uploads, drawn in code: 230 x 230, 32 bits with alpha.

// An airspeed dial as a designer would draw it: a round black face with a bezel, coloured
// speed arcs, ticks every 10 knots, numbers every 50, all anti-aliased, on a transparent
// surround. Long runs of equal pixels, broken at every edge.
void DrawRealisticDial(CImage& image);

// No two neighbouring pixels alike, across rows too: every pixel costs a line of its own.
void DrawWorstCaseDial(CImage& image);
