#pragma once

#include <string>
#include <vector>

#include "base/Message.h"
#include "upload/UploadResult.h"

// One gauge's line of the summary.
struct SGaugeSummary {
    std::string port;
    EUploadResult result = EUploadResult::Refused;
    double seconds = 0;
    int lines = 0;
    SMessage why{""};  // the last complaint of its upload, empty when none
};

// "completed", "gauge error", "line lost", "no answer", "refused", "interrupted".
const char* UploadResultWords(EUploadResult result);

// Why a gauge did not complete, on one line: the message and its reason.
std::string OneLine(const SMessage& why);

// The summary as a table: a heading, then per gauge its port, result, seconds and lines
// sent, and why it did not complete.
std::string SummaryTable(const std::vector<SGaugeSummary>& gauges);

// The program's exit status, decided here alone. One upload: 0 completed, 1 the gauge's
// error or a lost line, 2 refused, 3 no answer, 128 + the signal's number when interrupted.
int ExitStatus(EUploadResult result, int signal);
// Several uploads: 0 when every gauge completed, else 4.
constexpr int kNotEveryGaugeCompleted = 4;
int FleetExitStatus(const std::vector<SGaugeSummary>& gauges);
