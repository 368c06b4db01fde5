#pragma once

#include "core/ErrorPresenter.h"

#include <QList>
#include <QMutex>

// Installs itself for its lifetime and records every error presented.
class RecordingErrorPresenter : public ErrorPresenter
{
public:
    RecordingErrorPresenter();
    ~RecordingErrorPresenter() override;

    bool presentError(const AppError &error) override;
    QList<AppError> errors() const;

private:
    mutable QMutex m_mutex;
    QList<AppError> m_errors;
};
