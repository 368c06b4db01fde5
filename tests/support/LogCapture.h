#pragma once

#include <QStringList>
#include <QtGlobal>

// Records the log lines written while it lives (and still lets them through to stderr).
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const;
    bool contains(const QString &line) const { return lines().contains(line); }
    int count(const QString &line) const { return int(lines().count(line)); }

private:
    QtMessageHandler m_previous;
};
