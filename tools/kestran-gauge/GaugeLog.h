#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "kestran-gauge/GaugeServer.h"

// The program's events: one short line each on the error stream, and the received dials
// and table written out after each upload.
class CGaugeLog : public IGaugeServerEvents {
public:
    CGaugeLog(std::FILE* out, std::filesystem::path outDir)
        : m_out(out), m_outDir(std::move(outDir)) {}

    void Say(const std::string& text);

    void OnLine(std::string_view line, TimePoint read, TimePoint arrived) override;
    void OnReply(std::string_view reply, TimePoint due, TimePoint sent) override;
    void OnViolation(const std::string& text) override;
    void OnUploadEnded(const CVirtualGauge& gauge) override;
    void OnHangUp() override;
    void OnPortOpened() override;
    void OnPortClosed() override;

private:
    void TellPixelLines();

    std::FILE* m_out;
    std::filesystem::path m_outDir;
    long long m_pixelLines = 0;  // since the last LOAD line
};
