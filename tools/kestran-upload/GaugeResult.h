#pragma once

#include <string>
#include <vector>

#include "kestran-upload/CommandLineUpload.h"

// How the upload to one gauge of several ended, as the summary names it.
enum class EGaugeResult { Completed, GaugeError, LineLost, NoAnswer, Refused, Interrupted };

// One gauge's line of the summary.
struct SGaugeSummary {
    std::string port;
    EGaugeResult result = EGaugeResult::Refused;
    double seconds = 0;
    int lines = 0;
    std::string why;  // the last complaint of its upload, empty when none
};

// The result an upload's end and its dialog's outcome make.
EGaugeResult GaugeResultOf(EUploadResult result, EUploadOutcome outcome);

// "completed", "gauge error", "line lost", "no answer", "refused", "interrupted".
const char* GaugeResultWords(EGaugeResult result);

// The summary as a table: a heading, then per gauge its port, result, seconds and lines
// sent, and why it did not complete.
std::string SummaryTable(const std::vector<SGaugeSummary>& gauges);

// The exit status of several uploads: 0 when every gauge completed, else 4.
constexpr int kNotEveryGaugeCompleted = 4;
int FleetExitStatus(const std::vector<SGaugeSummary>& gauges);
