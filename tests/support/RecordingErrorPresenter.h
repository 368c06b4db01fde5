#pragma once

#include "core/ErrorPresenter.h"

#include <QList>
#include <QMutex>
#include <QStringList>

// Installs itself for its lifetime and records every error presented and every error pane shown,
// on whatever thread.
class RecordingErrorPresenter : public ErrorPresenter
{
public:
    RecordingErrorPresenter();
    ~RecordingErrorPresenter() override;

    bool presentError(const AppError &error) override;
    void showErrorPane(const QString &message) override;
    QList<AppError> errors() const;
    QStringList panes() const; // the messages, in order

private:
    mutable QMutex m_mutex;
    QList<AppError> m_errors;
    QStringList m_panes;
};
