#pragma once

#include "core/ErrorPresenter.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>

// Installs itself for its lifetime and records every error presented and every error pane shown,
// on whatever thread.
class RecordingErrorPresenter : public ErrorPresenter
{
public:
    RecordingErrorPresenter() { ErrorPresenter::install(this); }
    ~RecordingErrorPresenter() override { ErrorPresenter::install(nullptr); }

    bool presentError(const AppError &error) override
    {
        QMutexLocker lock(&m_mutex);
        m_errors << error;
        return false;
    }
    void showErrorPane(const QString &message) override
    {
        QMutexLocker lock(&m_mutex);
        m_panes << message;
    }
    QList<AppError> errors() const
    {
        QMutexLocker lock(&m_mutex);
        return m_errors;
    }
    QStringList panes() const // the messages, in order
    {
        QMutexLocker lock(&m_mutex);
        return m_panes;
    }

private:
    mutable QMutex m_mutex;
    QList<AppError> m_errors;
    QStringList m_panes;
};
