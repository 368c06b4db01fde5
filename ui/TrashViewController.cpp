#include "ui/TrashViewController.h"

#include "core/Localized.h"

#include "ui_TrashView.h"

TrashViewController::TrashViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::TrashView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TRASH")));
}

TrashViewController::~TrashViewController() = default;
