#include "core/ErrorPresenter.h"

#include "core/Log.h"

#include <atomic>

namespace {
std::atomic<ErrorPresenter *> installed{nullptr};
}

void ErrorPresenter::install(ErrorPresenter *presenter)
{
    installed.store(presenter);
}

bool ErrorPresenter::present(const AppError &error)
{
    if (ErrorPresenter *p = installed.load())
        return p->presentError(error);
    Log::line(QStringLiteral("Error: %@"), {error.text()});
    return false;
}

void ErrorPresenter::showPane(const QString &message)
{
    if (ErrorPresenter *p = installed.load()) {
        p->showErrorPane(message);
        return;
    }
    Log::line(QStringLiteral("Error: %@"), {message});
}
