#include "ui/NotebooksViewController.h"

#include "core/Localized.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "ui/NamedObjectArrayController.h"
#include "core/store/ReceivingNotebook.h"
#include "ui/PluralText.h"

#include "ui_NotebooksView.h"

NotebooksViewController::NotebooksViewController(ManagedObjectContext *context, QObject *parent)
    : NamedObjectsViewController(context, QLatin1String(MyNotebook::entityName), QIcon(QStringLiteral(":/images/books.svg")),
                                 true,
                                 {QStringLiteral("Notebook: add Object"), QStringLiteral("Notebook: remove Object"),
                                  QStringLiteral("Notebook: show search field")},
                                 {QStringLiteral("tasksDeleted"), QStringLiteral("notebookArrayChanged"),
                                  QStringLiteral("ShowDockTile")},
                                 parent)
    , m_ui(std::make_unique<Ui::NotebooksView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("NOTEBOOKS")));
    viewLoaded(m_ui->notebookTable, m_ui->searchBox, m_ui->searchField);
}

NotebooksViewController::~NotebooksViewController() = default;

MyNotebookTableView *NotebooksViewController::notebookTable() const
{
    return m_ui->notebookTable;
}

ManagedObject *NotebooksViewController::insertNewObject()
{
    return managedObjectContext()->insert<MyNotebook>();
}

QString NotebooksViewController::equalNameText() const
{
    return Localized::string(QStringLiteral("EQUAL_NOTEBOOK"));
}

QString NotebooksViewController::sureDeleteText(int count) const
{
    return PluralText::format(count, Localized::string(QStringLiteral("SURE_DELETE_NOTEBOOK_ONE")),
                              Localized::string(QStringLiteral("SURE_DELETE_NOTEBOOK")));
}

void NotebooksViewController::selectionIndexChanged(int index)
{
    if (index >= 0)
        Log::line(QStringLiteral("Selection index cahnged: %d"), {index});
}

MyNotebook *NotebooksViewController::defaultNotebook(MyNotebook *notebook) const
{
    return ReceivingNotebook::find(managedObjectContext(), list()->arrangedObjects(), notebook, {notebook});
}

bool NotebooksViewController::handOver(ManagedObject *object, const QSet<const ManagedObject *> &leaving)
{
    auto *notebook = static_cast<MyNotebook *>(object);
    // Notebooks deleted together cannot receive one another's tasks.
    MyNotebook *receiving = ReceivingNotebook::find(managedObjectContext(), list()->arrangedObjects(), notebook, leaving);
    if (!receiving)
        return false;
    for (MyNote *task : notebook->notes()) {
        task->setNotebook(receiving);
        task->setActive(false);
    }
    return true;
}

void NotebooksViewController::markDeleted(ManagedObject *object)
{
    static_cast<MyNotebook *>(object)->setDeleted(true);
}
