#include "core/ErrorPane.h"

#include "core/ErrorPresenter.h"

void ErrorPane::showErrorPane() const
{
    ErrorPresenter::showPane(m_message);
}
