#include "tests/support/RecordingErrorPresenter.h"

#include <QMutexLocker>

RecordingErrorPresenter::RecordingErrorPresenter()
{
    ErrorPresenter::install(this);
}

RecordingErrorPresenter::~RecordingErrorPresenter()
{
    ErrorPresenter::install(nullptr);
}

bool RecordingErrorPresenter::presentError(const AppError &error)
{
    QMutexLocker lock(&m_mutex);
    m_errors << error;
    return false;
}

QList<AppError> RecordingErrorPresenter::errors() const
{
    QMutexLocker lock(&m_mutex);
    return m_errors;
}

void RecordingErrorPresenter::showErrorPane(const QString &message)
{
    QMutexLocker lock(&m_mutex);
    m_panes << message;
}

QStringList RecordingErrorPresenter::panes() const
{
    QMutexLocker lock(&m_mutex);
    return m_panes;
}
