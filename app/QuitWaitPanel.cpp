#include "app/QuitWaitPanel.h"

#include "core/Localized.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

QuitWaitPanel::QuitWaitPanel(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("QuitWaitPanel"));
    setWindowTitle(Localized::string(QStringLiteral("SYNCING")));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(Localized::string(QStringLiteral("QUIT_WAITING_SYNC")), this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *busy = new QProgressBar(this);
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    layout->addWidget(busy);
    auto *buttons = new QDialogButtonBox(this);
    m_quitNow = buttons->addButton(Localized::string(QStringLiteral("QUIT_NOW")), QDialogButtonBox::DestructiveRole);
    layout->addWidget(buttons);
    connect(m_quitNow, &QPushButton::clicked, this, [this] {
        m_quitNow->setEnabled(false);
        emit quitNow();
    });
    setMinimumWidth(360);
}
