#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QtGlobal>

// Records the log lines written while it lives (and still lets them through to stderr).
class LogCapture
{
public:
    LogCapture()
    {
        QMutexLocker lock(&mutex());
        captured().clear();
        previous() = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture() { qInstallMessageHandler(previous()); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const
    {
        QMutexLocker lock(&mutex());
        return captured();
    }
    bool contains(const QString &line) const { return lines().contains(line); }

private:
    static QMutex &mutex() { static QMutex m; return m; }
    static QStringList &captured() { static QStringList c; return c; }
    static QtMessageHandler &previous() { static QtMessageHandler p = nullptr; return p; }
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        {
            QMutexLocker lock(&mutex());
            captured() << message;
        }
        if (previous())
            previous()(type, context, message);
    }
};
