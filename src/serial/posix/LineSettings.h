#pragma once

#include <termios.h>

namespace linesettings {

// The terminal settings of the gauge's line, built from what the port had: raw bytes both
// ways (no line editing, echo, signals, CR/LF mapping or output processing), receiver on,
// modem lines ignored, 38400 baud; flow control, the parity check and the special
// characters stay as found. The frame is left as found here.
termios RawAt38400(const termios& found);

// The same with the gauge's frame: 8 data bits, even parity, 1 stop bit.
termios WithGaugeFrame(const termios& raw);

// Applies both to an open terminal in two steps, so that a port that refuses the frame
// (pseudo-terminals refuse parity) still gets raw mode and the speed. Answers whether the
// frame was taken.
bool Apply(int fd);

}  // namespace linesettings
