#pragma once

#include <QByteArray>

// Figures of this process from /proc/self/status.
class ProcessStatus
{
public:
    // A memory field ("VmRSS", "VmHWM") in megabytes; 0 when it cannot be read.
    static double megabytes(const QByteArray &field);

    ProcessStatus() = delete;
};
