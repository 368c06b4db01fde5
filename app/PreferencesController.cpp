#include "app/PreferencesController.h"

#include "app/SyncingParamPreferencesController.h"
#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/MainThread.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/credentials/AGKeychain.h"
#include "core/credentials/SharedData.h"
#include "core/platform/SystemSound.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "sync/ENServerActions.h"
#include "ui/AlertSheet.h"
#include "ui/ArrayController.h"
#include "ui_Preferences.h"

#include <QAbstractSpinBox>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QPropertyAnimation>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <exception>

namespace {

// A check box's setting follows its state.
void storeState(const char *key, const QAbstractButton *box)
{
    Defaults::standardUserDefaults().setBool(key, box->isChecked());
}
const QString keychainItemName = QStringLiteral("Kelvara");
const QString keychainItemKind = QStringLiteral("password");

// The pages are laid out for this width at least, so that switching pages does not make the
// window jump between narrow and wide.
constexpr int minimumPageWidth = 460;

// Menu texts carry mnemonics and ellipses that a title or a button in this window does not want.
QString plain(QString title)
{
    title.remove(QStringLiteral("…"));
    title.remove(u'&');
    return title;
}

QIcon iconNamed(const QString &themeIcon, const QString &ownIcon)
{
    return QIcon::fromTheme(themeIcon, QIcon(QStringLiteral(":/images/%1.svg").arg(ownIcon)));
}
} // namespace

PreferencesController::PreferencesController(ManagedObjectContext *moc, QWidget *parent)
    : QMainWindow(parent)
    , m_ui(std::make_unique<Ui::Preferences>())
    , m_moc(moc)
    , m_notDeletedNotHidePredicate(Predicate::withFormat(QStringLiteral("(deleted == 0) && (hide == 0)")))
    , m_sdForName{SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)}
{
    m_ui->setupUi(this);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);

    // The pages are drawn in Designer inside a stack; on screen the box holds one page at a
    // time and the window takes that page's size, so they leave the stack for good.
    for (QWidget *view : {m_ui->generalView, m_ui->syncView, m_ui->updatesView}) {
        m_ui->pages->removeWidget(view);
        view->setParent(m_ui->box);
        view->hide();
    }
    delete m_ui->pages;
    m_ui->pages = nullptr;

    m_viewItems = new QActionGroup(this);
    m_viewItems->setExclusive(true);
    const QList<QAction *> items{m_ui->generalItem, m_ui->syncItem, m_ui->updatesItem};
    for (int tag = 0; tag < items.size(); ++tag) {
        items.at(tag)->setData(tag);
        m_viewItems->addAction(items.at(tag));
    }
    m_ui->toolBar->toggleViewAction()->setVisible(false);

    m_notebookArrayController = new ArrayController(this);
    m_notebookArrayController->setAvoidsEmptySelection(false);
    if (m_moc) {
        m_notebookArrayController->setManagedObjectContext(m_moc);
        m_notebookArrayController->setEntityName(QLatin1String(MyNotebook::entityName));
        m_notebookArrayController->setFetchPredicate(m_notDeletedNotHidePredicate);
        m_notebookArrayController->setSortDescriptors(m_sdForName);
    }
    m_ui->notebookForCompletedPopUp->setModel(m_notebookArrayController);

    auto *closeWindow = new QAction(this);
    closeWindow->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);

    fillTexts();
    connectControls();
    windowDidLoad();
}

PreferencesController::~PreferencesController()
{
    // The check holds no pointer into the window, but it must not outlive the objects it uses.
    if (m_userCheck)
        m_userCheck->wait();
}

void PreferencesController::fillTexts()
{
    setWindowTitle(plain(Localized::string(QStringLiteral("PREFERENCES"))));
    m_ui->generalItem->setText(Localized::string(QStringLiteral("PREFS_GENERAL")));
    m_ui->generalItem->setIcon(iconNamed(QStringLiteral("preferences-system"), QStringLiteral("kelvara")));
    m_ui->syncItem->setText(Localized::string(QStringLiteral("PREFS_SYNC")));
    m_ui->syncItem->setIcon(iconNamed(QStringLiteral("emblem-synchronizing"), QStringLiteral("toolbar_sync")));
    m_ui->updatesItem->setText(Localized::string(QStringLiteral("PREFS_UPDATES")));
    m_ui->updatesItem->setIcon(iconNamed(QStringLiteral("system-software-update"), QStringLiteral("prefs_updates")));

    m_ui->showStatusAtStart->setText(Localized::string(QStringLiteral("PREFS_STATUS_AT_START")));
    m_ui->showStatusAtEnd->setText(Localized::string(QStringLiteral("PREFS_STATUS_AT_END")));
    m_ui->showDockTile->setText(Localized::string(QStringLiteral("PREFS_DOCK_TILE")));
    m_ui->startViewCheckBox->setText(Localized::string(QStringLiteral("PREFS_START_VIEW")));
    m_ui->colorsCheckBox->setText(Localized::string(QStringLiteral("PREFS_COLORS")));
    m_ui->searchInContent->setText(Localized::string(QStringLiteral("PREFS_SEARCH_IN_CONTENT")));
    m_ui->soundsLabel->setText(Localized::string(QStringLiteral("PREFS_COMPLETED_SOUND")));
    m_ui->notebookForCompletedCheckBox->setText(Localized::string(QStringLiteral("PREFS_NOTEBOOK_FOR_COMPLETED")));

    m_ui->accountBox->setTitle(Localized::string(QStringLiteral("PREFS_ACCOUNT")));
    m_ui->userLabel->setText(Localized::string(QStringLiteral("PREFS_USER_NAME")));
    m_ui->passLabel->setText(Localized::string(QStringLiteral("PREFS_PASSWORD")));
    m_ui->warningLabel->setText(Localized::string(QStringLiteral("PREFS_ACCOUNT_WARNING")));
    m_ui->checkBox->setText(Localized::string(QStringLiteral("PREFS_SYNC_ACTIVE")));
    m_ui->intervalLabel->setText(Localized::string(QStringLiteral("PREFS_SYNC_INTERVAL")));
    m_ui->syncOnLaunch->setText(Localized::string(QStringLiteral("PREFS_SYNC_ON_LAUNCH")));
    m_ui->syncWhenQuit->setText(Localized::string(QStringLiteral("PREFS_SYNC_WHEN_QUIT")));

    m_ui->updatesIcon->setPixmap(QIcon(QStringLiteral(":/images/kelvara.svg")).pixmap(64, 64));
    m_ui->versionLabel->setText(
        Localized::format(QStringLiteral("PREFS_VERSION"), {QCoreApplication::applicationVersion()}));
    QFont bold = m_ui->versionLabel->font();
    bold.setBold(true);
    m_ui->versionLabel->setFont(bold);
    m_ui->updatesLabel->setText(Localized::string(QStringLiteral("PREFS_UPDATES_TEXT")));
}

void PreferencesController::connectControls()
{
    connect(m_viewItems, &QActionGroup::triggered, this, &PreferencesController::changeViewAction);
    connect(m_ui->saveUserButton, &QPushButton::clicked, this, &PreferencesController::saveUser);
    connect(m_ui->passw, &QLineEdit::returnPressed, this, &PreferencesController::saveUser);

    // Only the user's clicks write settings: filling the window sets the boxes without a write.
    const auto onClick = [this](QAbstractButton *box, void (PreferencesController::*action)()) {
        connect(box, &QAbstractButton::clicked, this, action);
    };
    onClick(m_ui->checkBox, &PreferencesController::changeSyncingActive);
    onClick(m_ui->colorsCheckBox, &PreferencesController::changeBackgroundColors);
    onClick(m_ui->showDockTile, &PreferencesController::changeShowDockTile);
    onClick(m_ui->showStatusAtStart, &PreferencesController::changeShowStatusAtStart);
    onClick(m_ui->showStatusAtEnd, &PreferencesController::changeShowStatusAtEnd);
    onClick(m_ui->startViewCheckBox, &PreferencesController::changeStartView);
    onClick(m_ui->notebookForCompletedCheckBox, &PreferencesController::changeEnableNotebookForCompleted);
    onClick(m_ui->syncWhenQuit, &PreferencesController::changeSyncWhenQuit);
    onClick(m_ui->syncOnLaunch, &PreferencesController::changeSyncOnLaunch);
    onClick(m_ui->searchInContent, &PreferencesController::changeSearchInContent);

    connect(m_ui->popUp, &QComboBox::activated, this, [this](int index) {
        const QVariant tag = m_ui->popUp->itemData(index);
        if (tag.isValid())
            changeSyncingInterval(tag.toInt());
    });
    connect(m_ui->soundsPopUp, &QComboBox::activated, this, [this](int index) {
        const QString title = m_ui->soundsPopUp->itemText(index);
        changeCompletedSound(title);
        if (index > 0) // the first entry is no sound at all
            SystemSound::play(title);
    });
    connect(m_ui->notebookForCompletedPopUp, &QComboBox::activated, this, [this](int index) {
        m_notebookForCompleted = static_cast<MyNotebook *>(m_notebookArrayController->objectAt(index));
        changeNotebookForCompleted();
    });
    connect(m_ui->notebookForCompletedCheckBox, &QAbstractButton::toggled, m_ui->notebookForCompletedPopUp,
            &QWidget::setEnabled);
    // A pop-up picks its first row by itself whenever rows arrive; it must show the chosen
    // notebook, or none.
    connect(m_notebookArrayController, &ArrayController::arrangedObjectsChanged, this,
            &PreferencesController::selectNotebookForCompleted);
    connect(m_notebookArrayController, &QAbstractItemModel::rowsInserted, this,
            &PreferencesController::selectNotebookForCompleted);
    connect(m_notebookArrayController, &QAbstractItemModel::modelReset, this,
            &PreferencesController::selectNotebookForCompleted);
}

void PreferencesController::windowDidLoad()
{
    Defaults &defaults = Defaults::standardUserDefaults();

    // Each page gets the size it is shown at; a wrapped text decides its page's height.
    for (QWidget *view : {m_ui->generalView, m_ui->syncView, m_ui->updatesView}) {
        const int width = std::max(view->sizeHint().width(), minimumPageWidth);
        const int height = view->hasHeightForWidth() ? view->layout()->totalHeightForWidth(width) : 0;
        view->resize(width, std::max(height, view->sizeHint().height()));
    }
    changeView(GeneralView);
    createSoundsList();

    buildIntervalPopUp();
    const double interval = syncingInterval();
    for (int i = 0; i < m_ui->popUp->count(); ++i) {
        const QVariant tag = m_ui->popUp->itemData(i);
        if (tag.isValid() && SettingsKeys::intervals().at(size_t(tag.toInt())).seconds == interval) {
            m_ui->popUp->setCurrentIndex(i);
            break;
        }
    }

    setAccountEditable(defaults.boolForKey(Key::firstSync));

    const std::pair<QCheckBox *, const char *> boxes[] = {
        {m_ui->checkBox, Key::SyncingActive},
        {m_ui->colorsCheckBox, Key::blueTaskColors},
        {m_ui->showStatusAtStart, Key::showTasksStatusPanel},
        {m_ui->showStatusAtEnd, Key::showTasksStatusPanelAtEnd},
        {m_ui->showDockTile, Key::ShowDockTile},
        {m_ui->startViewCheckBox, Key::StartInTasksView},
        {m_ui->notebookForCompletedCheckBox, Key::enableNotebookForCompleted},
        {m_ui->syncWhenQuit, Key::SyncWhenQuit},
        {m_ui->syncOnLaunch, Key::SyncOnLaunch},
        {m_ui->searchInContent, Key::SearchInContent},
    };
    for (const auto &[box, key] : boxes)
        box->setChecked(defaults.integerForKey(key) != 0);
    m_ui->notebookForCompletedPopUp->setEnabled(m_ui->notebookForCompletedCheckBox->isChecked());

    m_notebookForCompleted = getNotebookFromDefaults();
    selectNotebookForCompleted();

    m_ui->progressIndicator->hide();
    m_ui->stateIndicator->hide();

    const QString userName = userNameFromP();
    m_validUser = !userName.isEmpty();
    if (m_validUser)
        m_ui->nombre->setText(userName);

    // The registered default names a sound by its old name ("Pop"): shown as the theme sound it plays.
    const QString sound = SystemSound::eventIdFor(defaults.stringForKey(Key::completedSound));
    m_ui->soundsPopUp->setCurrentIndex(
        m_ui->soundsPopUp->findText(sound, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void PreferencesController::buildIntervalPopUp()
{
    QComboBox *popUp = m_ui->popUp;
    popUp->clear();
    const auto &intervals = SettingsKeys::intervals();
    for (size_t tag = 0; tag < intervals.size(); ++tag) {
        popUp->addItem(Localized::string(QString::fromLatin1(intervals.at(tag).menuItemKey)), int(tag));
        if (tag == 0) // manual stands apart from the automatic intervals
            popUp->insertSeparator(popUp->count());
    }
}

QWidget *PreferencesController::page(int view) const
{
    switch (view) {
    case SyncView:
        return m_ui->syncView;
    case UpdatesView:
        return m_ui->updatesView;
    default:
        return m_ui->generalView;
    }
}

void PreferencesController::changeViewAction(QAction *sender)
{
    if (sender)
        changeView(sender->data().toInt());
}

void PreferencesController::changeView(int view)
{
    if (view != SyncView && view != UpdatesView)
        view = GeneralView;
    if (!makeFirstResponder()) {
        QApplication::beep();
        if (QAction *item = m_viewItems->actions().value(m_currentView))
            item->setChecked(true);
        return;
    }
    m_viewItems->actions().at(view)->setChecked(true);
    QWidget *next = page(view);
    m_currentView = view;
    if (next == m_pageOnScreen)
        return;

    finishFrameAnimation();
    const QSize box = boxContentSize();
    QRect frame = geometry();
    frame.setSize(frame.size() + (next->size() - box)); // the top-left corner stays where it is

    if (m_pageOnScreen) {
        m_ui->boxLayout->removeWidget(m_pageOnScreen);
        m_pageOnScreen->hide();
    }
    setFrame(frame, true);
    m_pageOnScreen = next;
    m_ui->boxLayout->addWidget(next);
    next->show();
}

bool PreferencesController::makeFirstResponder()
{
    QWidget *focus = focusWidget();
    if (!focus || focus == this)
        return true;
    if (auto *edit = qobject_cast<QLineEdit *>(focus); edit && !edit->hasAcceptableInput())
        return false;
    if (auto *spin = qobject_cast<QAbstractSpinBox *>(focus); spin && !spin->hasAcceptableInput())
        return false;
    focus->clearFocus();
    return true;
}

QSize PreferencesController::boxContentSize()
{
    // Before the window is first shown nothing has been laid out yet.
    ensurePolished();
    if (layout())
        layout()->activate();
    return m_ui->box->contentsRect().size();
}

// Account

void PreferencesController::setAccountEditable(bool editable)
{
    QLineEdit *user = m_ui->nombre;
    user->setReadOnly(!editable);
    user->setFrame(editable);
    user->setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    // Read-only, the name reads as a label: no background and no selecting it with the mouse.
    user->setAttribute(Qt::WA_TransparentForMouseEvents, !editable);
    QPalette palette = user->palette();
    palette.setBrush(QPalette::Base, editable ? QApplication::palette().base() : QBrush(Qt::transparent));
    user->setPalette(palette);
    if (!editable)
        user->deselect();

    m_ui->passLabel->setVisible(editable);
    m_ui->passw->setVisible(editable);
    m_ui->warningLabel->setVisible(!editable);
    m_ui->saveUserButton->setText(plain(editable ? Localized::string(QStringLiteral("SAVE"))
                                                  : Localized::string(QStringLiteral("RESET"))));
}

void PreferencesController::saveUser()
{
    if (m_userCheck)
        return;
    if (!Defaults::standardUserDefaults().boolForKey(Key::firstSync)) {
        QPointer<PreferencesController> self(this);
        const QString deleteTitle = Localized::string(QStringLiteral("DELETE"));
        AlertSheet::beginSheet(this, deleteTitle, Localized::string(QStringLiteral("SURE_DELETE_ALL")),
                               {deleteTitle, Localized::string(QStringLiteral("CANCEL"))}, [self](int returnCode) {
                                   if (self)
                                       self->alertEnded(returnCode);
                               });
        return;
    }

    const QString userName = m_ui->nombre->text();
    const QString password = m_ui->passw->text();
    m_ui->stateIndicator->show();
    if (userName.isEmpty() || password.isEmpty()) {
        m_ui->stateIndicator->setText(Localized::string(QStringLiteral("FIELD_EMPTY")));
        return;
    }

    m_ui->stateIndicator->clear();
    m_ui->progressIndicator->show();
    m_ui->saveUserButton->setEnabled(false);
    // The service may take its time to answer: the window goes on being drawn and served
    // meanwhile, and the answer is handled back on the main thread.
    m_userCheck.reset(QThread::create([this, userName, password] {
        bool valid = false;
        try {
            valid = ENServerActions::authResult(userName, password).has_value();
        } catch (const std::exception &e) {
            Log::line(QStringLiteral("The account check failed: %@"), {QString::fromUtf8(e.what())});
        } catch (...) {
            Log::line(QStringLiteral("The account check failed"));
        }
        postToMainThread([this, userName, password, valid] { accountChecked(userName, password, valid); }, this);
    }));
    m_userCheck->start();
}

void PreferencesController::accountChecked(const QString &userName, const QString &password, bool valid)
{
    if (m_userCheck) {
        m_userCheck->wait();
        m_userCheck.reset();
    }
    m_validUser = valid;
    m_ui->progressIndicator->hide();
    m_ui->saveUserButton->setEnabled(true);
    if (!valid) {
        m_ui->stateIndicator->setText(Localized::string(QStringLiteral("USER_NO_VALID")));
        return;
    }

    m_ui->stateIndicator->setText(Localized::string(QStringLiteral("USER_OK")));
    Defaults::standardUserDefaults().setObject(Key::UserName, userName);
    storeCredentials(userName, password);
    m_ui->passw->clear();

    m_ui->checkBox->setChecked(true);
    Defaults::standardUserDefaults().setBool(Key::SyncingActive, true);
    if (m_syncingDelegate)
        m_syncingDelegate->SyncingParamDidChanged(this);
    setAccountEditable(false);
}

void PreferencesController::storeCredentials(const QString &userName, const QString &password)
{
    // A keychain failure is logged by the keychain; synchronisation goes on with the password
    // held for this session.
    const bool stored =
        AGKeychain::checkForExistanceOfKeychainItem(keychainItemName, keychainItemKind, userName)
            ? AGKeychain::modifyKeychainItem(keychainItemName, keychainItemKind, userName, password)
            : AGKeychain::addKeychainItem(keychainItemName, keychainItemKind, userName, password);
    if (stored)
        Log::line(QStringLiteral("Success"));
    SharedData::sharedManager()->setUserName(userName);
    SharedData::sharedManager()->setPassword(password);
}

void PreferencesController::alertEnded(int returnCode)
{
    if (returnCode != AlertSheet::DefaultReturn)
        return;
    if (!m_syncingDelegate || !m_syncingDelegate->DeleteDatabase(this))
        return;
    resetAccount();
}

void PreferencesController::resetAccount()
{
    Defaults &defaults = Defaults::standardUserDefaults();
    defaults.setBool(Key::SyncingActive, false);
    m_ui->checkBox->setChecked(false);
    defaults.setBool(Key::firstSync, true);
    defaults.setInteger(Key::chunkHighUSN, 0);
    defaults.setInteger(Key::lastUsedNotebook, 0);
    defaults.removeObjectForKey(Key::defaultNotebook);
    defaults.removeObjectForKey(Key::notebookForCompleted);
    m_notebookForCompleted = nullptr;
    selectNotebookForCompleted();
    defaults.setBool(Key::enableNotebookForCompleted, false);
    m_ui->notebookForCompletedCheckBox->setChecked(false);

    const QString oldUserName = userNameFromP();
    defaults.removeObjectForKey(Key::UserName);
    if (!oldUserName.isEmpty())
        AGKeychain::deleteKeychainItem(keychainItemName, keychainItemKind, oldUserName);
    SharedData::sharedManager()->setUserName(std::nullopt);
    SharedData::sharedManager()->setPassword(std::nullopt);
    // With the account gone nothing may synchronise, nor let the window close as if it could.
    m_validUser = false;

    m_ui->stateIndicator->hide();
    setAccountEditable(true);
}

// Settings

void PreferencesController::changeSyncingActive()
{
    const bool active = m_ui->checkBox->isChecked();
    Defaults::standardUserDefaults().setBool(Key::SyncingActive, active);
    const QString userName = userNameFromP();
    if (active && !userName.isEmpty()) {
        SharedData::sharedManager()->setUserName(userName);
        if (AGKeychain::checkForExistanceOfKeychainItem(keychainItemName, keychainItemKind, userName))
            SharedData::sharedManager()->setPassword(
                AGKeychain::getPasswordFromKeychainItem(keychainItemName, keychainItemKind, userName));
    }
    if (m_syncingDelegate)
        m_syncingDelegate->SyncingParamDidChanged(this);
}

void PreferencesController::changeSyncingInterval(int tag)
{
    const auto &intervals = SettingsKeys::intervals();
    const double seconds = tag >= 0 && size_t(tag) < intervals.size() ? intervals.at(size_t(tag)).seconds : MANUALLY;
    Defaults::standardUserDefaults().setDouble(Key::SyncingInterval, seconds);
    if (m_syncingDelegate)
        m_syncingDelegate->SyncingParamDidChanged(this);
}

void PreferencesController::changeBackgroundColors()
{
    storeState(Key::blueTaskColors, m_ui->colorsCheckBox);
    NotificationCenter::defaultCenter().post(QStringLiteral("refreshTableView"), this);
}

void PreferencesController::changeShowDockTile()
{
    storeState(Key::ShowDockTile, m_ui->showDockTile);
    NotificationCenter::defaultCenter().post(QStringLiteral("ShowDockTile"), this);
}

void PreferencesController::changeShowStatusAtStart()
{
    storeState(Key::showTasksStatusPanel, m_ui->showStatusAtStart);
}

void PreferencesController::changeShowStatusAtEnd()
{
    storeState(Key::showTasksStatusPanelAtEnd, m_ui->showStatusAtEnd);
}

void PreferencesController::changeStartView()
{
    storeState(Key::StartInTasksView, m_ui->startViewCheckBox);
}

void PreferencesController::changeEnableNotebookForCompleted()
{
    storeState(Key::enableNotebookForCompleted, m_ui->notebookForCompletedCheckBox);
}

void PreferencesController::changeSyncWhenQuit()
{
    storeState(Key::SyncWhenQuit, m_ui->syncWhenQuit);
}

void PreferencesController::changeSyncOnLaunch()
{
    storeState(Key::SyncOnLaunch, m_ui->syncOnLaunch);
}

void PreferencesController::changeSearchInContent()
{
    storeState(Key::SearchInContent, m_ui->searchInContent);
}

void PreferencesController::changeCompletedSound(const QString &title)
{
    Defaults::standardUserDefaults().setObject(Key::completedSound, title);
}

void PreferencesController::changeNotebookForCompleted()
{
    if (m_notebookForCompleted)
        Defaults::standardUserDefaults().setObject(Key::notebookForCompleted, m_notebookForCompleted->name());
}

// Notebook for completed tasks

MyNotebook *PreferencesController::getNotebookFromDefaults() const
{
    const QVariant name = Defaults::standardUserDefaults().objectForKey(Key::notebookForCompleted);
    if (!name.isValid() || !m_moc)
        return nullptr;
    const QList<ManagedObject *> found =
        m_moc->fetch(QLatin1String(MyNotebook::entityName),
                     Predicate::withFormat(QStringLiteral("name like %@"), {name.toString()}));
    return found.isEmpty() ? nullptr : static_cast<MyNotebook *>(found.first());
}

void PreferencesController::rearrangeArray()
{
    m_notebookArrayController->rearrangeObjects();
    selectNotebookForCompleted();
}

void PreferencesController::selectNotebookForCompleted()
{
    const int row = m_notebookForCompleted ? m_notebookArrayController->indexOf(m_notebookForCompleted) : -1;
    if (m_ui->notebookForCompletedPopUp->currentIndex() != row)
        m_ui->notebookForCompletedPopUp->setCurrentIndex(row);
}

// Settings read

QString PreferencesController::userNameFromP()
{
    return Defaults::standardUserDefaults().stringForKey(Key::UserName);
}

bool PreferencesController::syncingActive()
{
    return Defaults::standardUserDefaults().boolForKey(Key::SyncingActive);
}

double PreferencesController::syncingInterval()
{
    return Defaults::standardUserDefaults().doubleForKey(Key::SyncingInterval);
}

// Closing

bool PreferencesController::windowShouldClose()
{
    return !syncingActive() || m_validUser;
}

void PreferencesController::windowWillClose()
{
    if (Defaults::standardUserDefaults().boolForKey(Key::firstSync) && syncingActive() && m_validUser
        && m_syncingDelegate)
        m_syncingDelegate->SyncingParamFirstSync(this);
}

void PreferencesController::closeEvent(QCloseEvent *event)
{
    if (!windowShouldClose()) {
        event->ignore();
        QApplication::beep();
        changeView(SyncView);
        m_ui->stateIndicator->setText(Localized::string(QStringLiteral("SYNC_NEEDS_USER")));
        m_ui->stateIndicator->show();
        return;
    }
    finishFrameAnimation();
    windowWillClose();
    event->accept();
}

void PreferencesController::showEvent(QShowEvent *event)
{
    // Notebooks may have been added, renamed or hidden since the window was last open.
    rearrangeArray();
    QMainWindow::showEvent(event);
}

// Sounds

QStringList PreferencesController::soundFolders()
{
    QStringList folders;
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << data + QStringLiteral("/sounds/freedesktop/stereo");
    folders << QDir::homePath() + QStringLiteral("/.local/share/sounds");
    return folders;
}

void PreferencesController::createSoundsList()
{
    QStringList names;
    for (const QString &folder : soundFolders()) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Readable, QDir::Name);
        for (const QFileInfo &file : files)
            names << file.completeBaseName();
    }
    names.removeAll(QStringLiteral(".DS_Store"));
    names.removeAll(QString());
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    names.prepend(Localized::string(QStringLiteral("NONE")));

    m_ui->soundsPopUp->clear();
    m_ui->soundsPopUp->addItems(names);
}
