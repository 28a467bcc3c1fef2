#pragma once

// Every dial the gauge takes is a square of this many pixels a side, at 32 bits a pixel.
constexpr int kDialSide = 230;
