#include "ui/ManagingViewController.h"

#include "core/Localized.h"
#include "ui/AlertSheet.h"
#include "core/store/ManagedObjectContext.h"

#include <QKeyEvent>
#include <QWidget>

ManagingViewController::ManagingViewController(ManagedObjectContext *context, QObject *parent)
    : QObject(parent)
    , m_view(new QWidget)
    , m_context(context)
{
    m_view->installEventFilter(this);
}

ManagingViewController::~ManagingViewController()
{
    // The view may sit in the window's box; deleting it takes it out.
    delete m_view.data();
}

void ManagingViewController::setSearchBarActive(bool active)
{
    if (active == m_searchBarActive)
        return;
    m_searchBarActive = active;
    emit searchBarActiveChanged(active);
}

void ManagingViewController::newObjectNotification()
{
    featureNotAvailableAlert();
}

void ManagingViewController::editObjectNotification()
{
    featureNotAvailableAlert();
}

void ManagingViewController::removeObjectNotification()
{
    featureNotAvailableAlert();
}

void ManagingViewController::showSearchField()
{
    // The window flipped the flag before asking: without a search bar nothing was shown.
    setSearchBarActive(false);
    featureNotAvailableAlert();
}

void ManagingViewController::nameChangedNotification()
{
}

void ManagingViewController::rearrangeArrayController()
{
}

bool ManagingViewController::commitEditing()
{
    return true;
}

void ManagingViewController::featureNotAvailableAlert()
{
    AlertSheet::beginSheet(mainWindow(), QStringLiteral("Error"), Localized::string(QStringLiteral("NOTAVAILFORVIEW")));
}

QWidget *ManagingViewController::mainWindow() const
{
    if (!m_view)
        return nullptr;
    QWidget *window = m_view->window();
    return window == m_view ? nullptr : window;
}

bool ManagingViewController::keyDown(QKeyEvent *)
{
    return false;
}

bool ManagingViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::KeyPress && keyDown(static_cast<QKeyEvent *>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}
