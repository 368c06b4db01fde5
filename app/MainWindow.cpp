#include "app/MainWindow.h"

#include "core/Localized.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPropertyAnimation>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
QIcon iconNamed(const QString &themeIcon, const QString &ownIcon)
{
    const QIcon own = ownIcon.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/images/%1.svg").arg(ownIcon));
    return themeIcon.isEmpty() ? own : QIcon::fromTheme(themeIcon, own);
}

// "&Save" with Ctrl+S becomes the tool tip "Save (Ctrl+S)".
void updateToolTip(QAction *action)
{
    QString text = action->text();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text.remove(QStringLiteral("…"));
    const QKeySequence shortcut = action->shortcut();
    action->setToolTip(shortcut.isEmpty() ? text
                                          : QStringLiteral("%1 (%2)").arg(text, shortcut.toString(QKeySequence::NativeText)));
}

// The first widget of the view that takes the keyboard, or the view itself.
void focusFirstChild(QWidget *view)
{
    for (QWidget *w = view->nextInFocusChain(); w && w != view; w = w->nextInFocusChain()) {
        if (view->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(view) && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
    view->setFocus(Qt::OtherFocusReason);
}
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Kelvara"));
    setObjectName(QStringLiteral("MainWindow"));
    setUnifiedTitleAndToolBarOnMac(true);

    m_box = new QWidget(this);
    m_box->setObjectName(QStringLiteral("box"));
    m_boxLayout = new QVBoxLayout(m_box);
    m_boxLayout->setContentsMargins(0, 0, 0, 0);
    m_boxLayout->setSpacing(0);
    setCentralWidget(m_box);

    createActions();
    createMenus();
    createToolBar();
    createStatusLine();
}

MainWindow::~MainWindow() = default;

QAction *MainWindow::addCommand(Command command, const QString &key, const QString &themeIcon,
                                const QString &ownIcon, const QList<QKeySequence> &shortcuts)
{
    auto *action = new QAction(iconNamed(themeIcon, ownIcon), Localized::string(key), this);
    action->setShortcuts(shortcuts);
    // Menus on Linux show icons only where the desktop theme has one.
    action->setIconVisibleInMenu(!themeIcon.isEmpty() && QIcon::hasThemeIcon(themeIcon));
    updateToolTip(action);
    // Re-titled actions (the search command) keep their tool tip in step.
    connect(action, &QAction::changed, this, [action] { updateToolTip(action); });
    m_actions[command] = action;
    addAction(action);
    return action;
}

void MainWindow::createActions()
{
    m_actions.resize(CommandCount);
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    addCommand(AddObject, QStringLiteral("ADD_OBJECT"), QStringLiteral("list-add"), QStringLiteral("toolbar_add"),
               {QKeySequence::New});
    addCommand(EditObject, QStringLiteral("EDIT_OBJECT"), QStringLiteral("document-edit"), QStringLiteral("toolbar_edit"),
               {ctrl(Qt::Key_E)});
    addCommand(RemoveObject, QStringLiteral("REMOVE_OBJECT"), QStringLiteral("edit-delete"),
               QStringLiteral("toolbar_remove"), {QKeySequence(Qt::Key_Delete)});
    addCommand(MarkCompleted, QStringLiteral("MARK_COMPLETED"), QStringLiteral("checkbox"),
               QStringLiteral("toolbar_complete"), {ctrl(Qt::Key_K)});
    addCommand(MoveToNotebook, QStringLiteral("MOVE_TO_NOTEBOOK"), QString(), QStringLiteral("toolbar_move"),
               {ctrl(Qt::Key_M)});
    addCommand(ShowSearch, QStringLiteral("SHOW_SEARCH"), QStringLiteral("edit-find"), QStringLiteral("toolbar_search"),
               {QKeySequence::Find});
    addCommand(Save, QStringLiteral("SAVE"), QStringLiteral("document-save"), QString(), {QKeySequence::Save});
    addCommand(Synchronise, QStringLiteral("SYNCHRONISE"), QStringLiteral("view-refresh"), QStringLiteral("toolbar_sync"),
               {ctrl(Qt::Key_R)});
    addCommand(Preferences, QStringLiteral("PREFERENCES"), QStringLiteral("preferences-system"), QString(),
               {ctrl(Qt::Key_Comma)});
    addCommand(Undo, QStringLiteral("UNDO"), QStringLiteral("edit-undo"), QString(), {QKeySequence::Undo});
    addCommand(Redo, QStringLiteral("REDO"), QStringLiteral("edit-redo"), QString(),
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    addCommand(Quit, QStringLiteral("QUIT"), QStringLiteral("application-exit"), QString(), {QKeySequence::Quit});
    action(Preferences)->setMenuRole(QAction::PreferencesRole);
    action(Quit)->setMenuRole(QAction::QuitRole);
}

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu(Localized::string(QStringLiteral("MENU_FILE")));
    file->addAction(action(AddObject));
    file->addSeparator();
    file->addAction(action(Save));
    file->addAction(action(Synchronise));
    file->addSeparator();
    file->addAction(action(Quit));

    QMenu *edit = menuBar()->addMenu(Localized::string(QStringLiteral("MENU_EDIT")));
    edit->addAction(action(Undo));
    edit->addAction(action(Redo));
    edit->addSeparator();
    edit->addAction(action(EditObject));
    edit->addAction(action(RemoveObject));
    edit->addSeparator();
    edit->addAction(action(MarkCompleted));
    edit->addAction(action(MoveToNotebook));
    edit->addSeparator();
    edit->addAction(action(ShowSearch));
    edit->addSeparator();
    edit->addAction(action(Preferences));

    m_viewMenu = menuBar()->addMenu(Localized::string(QStringLiteral("MENU_VIEW")));
    m_switcherGroup = new QActionGroup(this);
    m_switcherGroup->setExclusive(true);

    QMenu *help = menuBar()->addMenu(Localized::string(QStringLiteral("MENU_HELP")));
    QAction *about = help->addAction(QIcon::fromTheme(QStringLiteral("help-about")),
                                     Localized::string(QStringLiteral("ABOUT")));
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::createToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Main"));
    m_toolBar->setObjectName(QStringLiteral("mainToolBar"));
    // The switcher lives here: the bar must not be hidden, moved away or torn off.
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setIconSize(QSize(22, 22));

    m_popUp = new QComboBox(m_toolBar);
    m_popUp->setObjectName(QStringLiteral("popUp"));
    m_popUp->setIconSize(QSize(20, 20));
    m_popUp->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_popUp->setMinimumContentsLength(10);
    m_popUp->setFocusPolicy(Qt::TabFocus);
    m_popUp->setToolTip(Localized::string(QStringLiteral("VIEW_SWITCHER")));
    m_popUp->setAccessibleName(Localized::string(QStringLiteral("VIEW_SWITCHER")));
    connect(m_popUp, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_switcherItems.size())
            emit switcherItemTriggered(m_switcherItems.at(index));
    });
    m_toolBar->addWidget(m_popUp);
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(AddObject));
    m_toolBar->addAction(action(EditObject));
    m_toolBar->addAction(action(RemoveObject));
    m_toolBar->addSeparator();
    m_toolBar->addAction(action(MarkCompleted));
    m_toolBar->addAction(action(MoveToNotebook));
    m_toolBar->addAction(action(ShowSearch));
    auto *spring = new QWidget(m_toolBar);
    spring->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolBar->addWidget(spring);
    m_toolBar->addAction(action(Synchronise));
}

void MainWindow::createStatusLine()
{
    QStatusBar *line = statusBar();
    m_tasksCount = new QLabel(line);
    m_tasksCount->setObjectName(QStringLiteral("tasksCount"));
    m_tasksCount->hide();
    line->addWidget(m_tasksCount);

    m_syncIndicator = new QProgressBar(line);
    m_syncIndicator->setObjectName(QStringLiteral("syncIndicator"));
    m_syncIndicator->setRange(0, 0);
    m_syncIndicator->setTextVisible(false);
    m_syncIndicator->setFixedSize(64, 12);
    m_syncLabel = new QLabel(Localized::string(QStringLiteral("SYNCING")), line);
    m_syncLabel->setObjectName(QStringLiteral("syncLabel"));
    m_noConectionView = new QLabel(line);
    m_noConectionView->setObjectName(QStringLiteral("noConectionView"));
    m_noConectionView->setPixmap(iconNamed(QString(), QStringLiteral("noConnection")).pixmap(16, 16));
    m_noConectionView->setToolTip(Localized::string(QStringLiteral("NO_CONNECTION")));
    m_syncDateInfoLabel = new QLabel(Localized::string(QStringLiteral("LAST_SYNC")), line);
    m_syncDateInfoLabel->setObjectName(QStringLiteral("syncDateInfoLabel"));
    m_syncDateLabel = new QLabel(line);
    m_syncDateLabel->setObjectName(QStringLiteral("syncDateLabel"));
    for (QWidget *w : {static_cast<QWidget *>(m_syncIndicator), static_cast<QWidget *>(m_syncLabel),
                       static_cast<QWidget *>(m_noConectionView), static_cast<QWidget *>(m_syncDateInfoLabel),
                       static_cast<QWidget *>(m_syncDateLabel)}) {
        w->hide();
        line->addPermanentWidget(w);
    }
}

void MainWindow::addSwitcherItem(const QString &title, const QIcon &image, int tag)
{
    auto *item = new QAction(image, title, this);
    item->setData(tag);
    item->setCheckable(true);
    if (tag >= 0 && tag < 9)
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + tag)));
    m_switcherGroup->addAction(item);
    m_viewMenu->addAction(item);
    m_popUp->addItem(image, title, tag);
    m_switcherItems.append(item);
    connect(item, &QAction::triggered, this, [this, item] { emit switcherItemTriggered(item); });
}

QAction *MainWindow::switcherItem(int tag) const
{
    for (QAction *item : m_switcherItems) {
        if (item->data().toInt() == tag)
            return item;
    }
    return nullptr;
}

void MainWindow::selectSwitcherItem(int tag)
{
    const int index = m_popUp->findData(tag);
    if (index >= 0 && m_popUp->currentIndex() != index)
        m_popUp->setCurrentIndex(index);
    if (QAction *item = switcherItem(tag))
        item->setChecked(true);
}

QSize MainWindow::boxContentSize()
{
    // Before the window is first shown nothing has been laid out yet.
    ensurePolished();
    if (layout())
        layout()->activate();
    return m_box->contentsRect().size();
}

void MainWindow::setBoxView(QWidget *view)
{
    if (m_boxView == view)
        return;
    if (m_boxView) {
        m_boxLayout->removeWidget(m_boxView);
        m_boxView->hide();
    }
    m_boxView = view;
    if (!view)
        return;
    m_boxLayout->addWidget(view);
    view->show();
    focusFirstChild(view);
}

bool MainWindow::makeFirstResponder()
{
    QWidget *focus = focusWidget();
    if (!focus || focus == this)
        return true;
    for (QWidget *w = focus; w && w != this; w = w->parentWidget()) {
        if (auto *edit = qobject_cast<QLineEdit *>(w); edit && !edit->hasAcceptableInput())
            return false;
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(w); spin && !spin->hasAcceptableInput())
            return false;
    }
    // Losing the focus is what makes an item view's editor hand its value over.
    focus->clearFocus();
    setFocus(Qt::OtherFocusReason);
    return true;
}

void MainWindow::setTasksCount(int count)
{
    m_tasksCount->setText(count == 1 ? Localized::string(QStringLiteral("TASKS_COUNT_ONE"))
                                     : Localized::format(QStringLiteral("TASKS_COUNT"), {count}));
    m_tasksCount->show();
}

void MainWindow::hideTasksCount()
{
    m_tasksCount->hide();
}

void MainWindow::setSyncing(bool syncing)
{
    if (syncing && !m_syncLabel->isVisible()) {
        m_syncLabel->setText(Localized::string(QStringLiteral("SYNCING")));
        m_syncIndicator->setRange(0, 0);
    }
    m_syncLabel->setVisible(syncing);
    m_syncIndicator->setVisible(syncing || m_finishing);
}

void MainWindow::setSyncProgress(const QString &text, int done, int total)
{
    m_syncLabel->setText(text);
    m_syncIndicator->setRange(0, total);
    m_syncIndicator->setValue(done);
}

void MainWindow::setSyncFailure(const QString &reason)
{
    m_noConectionView->setToolTip(reason.isEmpty() ? Localized::string(QStringLiteral("NO_CONNECTION")) : reason);
    m_noConectionView->setVisible(true);
}

void MainWindow::setFinishing(bool finishing)
{
    if (m_finishing == finishing)
        return;
    m_finishing = finishing;
    m_box->setEnabled(!finishing);
    m_toolBar->setEnabled(!finishing);
    menuBar()->setEnabled(!finishing);
    if (finishing) {
        m_enabledBeforeFinishing.clear();
        for (QAction *a : std::as_const(m_actions)) {
            m_enabledBeforeFinishing.insert(a, a->isEnabled());
            a->setEnabled(false);
        }
        for (QAction *a : std::as_const(m_switcherItems)) {
            m_enabledBeforeFinishing.insert(a, a->isEnabled());
            a->setEnabled(false);
        }
        statusBar()->showMessage(Localized::string(QStringLiteral("FINISHING")));
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        for (auto it = m_enabledBeforeFinishing.cbegin(); it != m_enabledBeforeFinishing.cend(); ++it)
            it.key()->setEnabled(it.value());
        m_enabledBeforeFinishing.clear();
        statusBar()->clearMessage();
        QApplication::restoreOverrideCursor();
    }
    m_syncIndicator->setVisible(finishing || !m_syncLabel->isHidden());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeAllowed) {
        event->accept();
        return;
    }
    event->ignore();
    emit closeRequested();
}

void MainWindow::showAbout()
{
    QMessageBox::about(this, Localized::string(QStringLiteral("ABOUT")).remove(u'&'),
                       Localized::format(QStringLiteral("ABOUT_TEXT"), {QCoreApplication::applicationVersion()}));
}
