#include "ui/NotebooksViewController.h"

#include "core/Localized.h"

#include "ui_NotebooksView.h"

NotebooksViewController::NotebooksViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::NotebooksView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("NOTEBOOKS")));
}

NotebooksViewController::~NotebooksViewController() = default;
