#include "ui/TodayViewController.h"

#include "core/Localized.h"

#include "ui_TodayView.h"

TodayViewController::TodayViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::TodayView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TODAY")));
}

TodayViewController::~TodayViewController() = default;
