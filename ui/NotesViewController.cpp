#include "ui/NotesViewController.h"

#include "core/Localized.h"
#include "core/Log.h"

#include "ui_NotesView.h"

NotesViewController::NotesViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::NotesView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TASKS")));
}

NotesViewController::~NotesViewController() = default;

void NotesViewController::changeSelectedNotebook(QObject *)
{
    Log::line(QStringLiteral("Selected notebook: %d"), {m_selectedNotebookIndex});
}
