#include "ui/TagsViewController.h"

#include "core/Localized.h"

#include "ui_TagsView.h"

TagsViewController::TagsViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::TagsView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TAGSMENU")));
}

TagsViewController::~TagsViewController() = default;
