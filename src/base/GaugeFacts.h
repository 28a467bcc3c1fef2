#pragma once

// What the gauge is: the facts every part of Kestran that talks to it, or prepares for it,
// counts on. Each is written here once.
namespace gauge {

// A dial is a square of this many pixels a side, 4 bytes a pixel.
constexpr int kDialSide = 230;
constexpr double kDialCentre = kDialSide / 2.0;

// The angle table: one entry per 10 knots, from 10 knots up to a maximum speed of 100 to
// 500 knots.
constexpr int kKnotsPerEntry = 10;
constexpr int kMinEntries = 10;
constexpr int kMaxEntries = 50;
constexpr int kMaxSpeedItems = kMaxEntries - kMinEntries + 1;
// Item i of the maximum-speed list (100, 110, ..., 500 knots) gives i + 10 entries.
constexpr int EntryCount(int maxSpeedItem) {
    return maxSpeedItem + kMinEntries;
}

// An angle travels as tenths of a degree in three hexadecimal digits.
constexpr int kMaxAngleTenths = 0xFFF;
constexpr double kMaxWireAngle = kMaxAngleTenths / 10.0;

// The line: 38400 baud, and every byte takes 11 bits (start, 8 data, even parity, stop).
constexpr int kBaud = 38400;
constexpr int kBitsPerByte = 11;

}  // namespace gauge
