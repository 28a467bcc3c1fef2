#pragma once

// The largest resident size this process has had so far, in KiB; 0 when unknown.
long PeakResidentKib();
