#include "ui/GlobalSearchController.h"

#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/SortDescriptor.h"
#include "ui/ArrayController.h"
#include "ui/GlobalSearchControllerProtocol.h"
#include "ui/MyNoteGlobalSearchTableView.h"
#include "ui/SearchBarBackground.h"

#include "ui_GlobalSearch.h"

#include <QKeyEvent>

GlobalSearchController::GlobalSearchController(const QRect &frame, ManagedObjectContext *context,
                                               GlobalSearchControllerProtocol *delegate, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::GlobalSearch>())
    , m_controllerDelegate(delegate)
    , m_tasks(new ArrayController(this))
    , m_frame(frame)
    , m_notActivePredicate(Predicate::withFormat(QStringLiteral("(active == 1) AND (notebook.hide == 0)")))
{
    m_ui->setupUi(this);
    setWindowTitle(Localized::string(QStringLiteral("GLOBALSEARCH")));
    m_ui->returnButton->setText(Localized::string(QStringLiteral("RETURN")));
    m_ui->searchField->setPlaceholderText(Localized::string(QStringLiteral("FIND_TASKS")));

    m_tasks->setManagedObjectContext(context);
    m_tasks->setEntityName(QLatin1String(MyNote::entityName));
    // The filter first: the sort then runs once, over the listed tasks only.
    m_tasks->setFilterPredicate(m_notActivePredicate);
    m_tasks->setSortDescriptors({SortDescriptor(QStringLiteral("notebook.name")), SortDescriptor(QStringLiteral("title"))});

    MyNoteGlobalSearchTableView *table = m_ui->resultTable;
    m_tasks->showIn(table);
    table->setTableDelegate(this);

    m_ui->searchField->installEventFilter(this);
    connect(m_ui->searchField, &QLineEdit::textChanged, this, &GlobalSearchController::controlTextDidChange);
    connect(m_ui->returnButton, &QPushButton::clicked, this, &GlobalSearchController::dismissWindow);
    SearchBarBackground::fill(m_ui->searchBox);
    m_searching = true;
}

GlobalSearchController::~GlobalSearchController() = default;

void GlobalSearchController::runModal()
{
    if (m_frame.isValid())
        setGeometry(m_frame);
    m_ui->searchField->setFocus();
    exec();
}

void GlobalSearchController::dismissWindow()
{
    if (!m_searching)
        return;
    m_searching = false;
    done(QDialog::Rejected);
    if (m_controllerDelegate)
        m_controllerDelegate->releaseSearchedObject();
}

void GlobalSearchController::reject()
{
    dismissWindow();
}

void GlobalSearchController::editSearchedObject()
{
    auto *task = static_cast<MyNote *>(m_tasks->firstSelectedObject());
    if (task && m_controllerDelegate)
        m_controllerDelegate->editSearchedObject(task);
}

void GlobalSearchController::controlTextDidChange(const QString &text)
{
    if (text.isEmpty()) {
        m_tasks->setFilterPredicate(m_notActivePredicate);
        return;
    }
    if (Defaults::standardUserDefaults().boolForKey(Key::SearchInContent)) {
        m_tasks->setFilterPredicate(Predicate::withFormat(
            QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@) OR (content contains[cd] %@)) AND (active == 1)"),
            {text, text, text}));
    } else {
        m_tasks->setFilterPredicate(Predicate::withFormat(
            QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@)) AND (active == 1)"), {text, text}));
    }
}

bool GlobalSearchController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->searchField && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        dismissWindow();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
