#include "tests/support/LogCapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex captureMutex;
QStringList captured;
QtMessageHandler previousHandler = nullptr;

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&captureMutex);
        captured << message;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

LogCapture::LogCapture()
{
    QMutexLocker lock(&captureMutex);
    captured.clear();
    m_previous = qInstallMessageHandler(handler);
    previousHandler = m_previous;
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&captureMutex);
    return captured;
}
