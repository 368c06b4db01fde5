#include "ui/MoveTasksSheet.h"

#include "core/Localized.h"
#include "core/store/MyNotebook.h"
#include "ui/ArrayController.h"
#include "ui_MoveTasksSheet.h"

#include <QPushButton>

MoveTasksSheet::MoveTasksSheet(ManagedObjectContext *context, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::MoveTasksSheet>())
    , m_notebooks(new ArrayController(this))
{
    m_ui->setupUi(this);
    setWindowTitle(Localized::string(QStringLiteral("MOVE_TASKS")));
    m_ui->prompt->setText(Localized::string(QStringLiteral("MOVE_TASKS_PROMPT")));
    m_ui->buttons->button(QDialogButtonBox::Ok)->setText(Localized::string(QStringLiteral("MOVE")));
    m_ui->buttons->button(QDialogButtonBox::Cancel)->setText(Localized::string(QStringLiteral("CANCEL")));
    m_notebooks->setManagedObjectContext(context);
    m_notebooks->setEntityName(QLatin1String(MyNotebook::entityName));
    m_notebooks->setFetchPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")));
    m_notebooks->setSortDescriptors({SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)});
    m_notebooks->showIn(m_ui->notebookTable);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, [this] {
        MyNotebook *target = selectedNotebook();
        accept();
        emit moveRequested(target);
    });
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_ui->notebookTable, &QAbstractItemView::doubleClicked, m_ui->buttons, &QDialogButtonBox::accepted);
}

MoveTasksSheet::~MoveTasksSheet() = default;

void MoveTasksSheet::rearrangeNotebookList()
{
    m_notebooks->rearrangeObjects();
}

MyNotebook *MoveTasksSheet::selectedNotebook() const
{
    return static_cast<MyNotebook *>(m_notebooks->firstSelectedObject());
}

void MoveTasksSheet::begin(QWidget *window, const MyNotebook *current)
{
    m_notebooks->processPendingChanges();
    if (!selectedNotebook() || selectedNotebook() == current) {
        for (ManagedObject *notebook : m_notebooks->arrangedObjects()) {
            if (notebook != current) {
                m_notebooks->setSelectedObjects({notebook});
                break;
            }
        }
    }
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    setWindowModality(Qt::WindowModal);
    open();
}
