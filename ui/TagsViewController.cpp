#include "ui/TagsViewController.h"

#include "core/Localized.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyTag.h"
#include "ui/PluralText.h"

#include "ui_TagsView.h"

TagsViewController::TagsViewController(ManagedObjectContext *context, QObject *parent)
    : NamedObjectsViewController(context, QLatin1String(MyTag::entityName), QIcon(QStringLiteral(":/images/tag_orange.svg")),
                                 false,
                                 {QStringLiteral("Tag: add Object"), QStringLiteral("Tag: remove Object"),
                                  QStringLiteral("tag: show search field")},
                                 {QStringLiteral("tagArrayChanged")}, parent)
    , m_ui(std::make_unique<Ui::TagsView>())
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TAGSMENU")));
    viewLoaded(m_ui->tagTable, m_ui->searchBox, m_ui->searchField);
}

TagsViewController::~TagsViewController() = default;

ManagedObject *TagsViewController::insertNewObject()
{
    return managedObjectContext()->insert<MyTag>();
}

QString TagsViewController::equalNameText() const
{
    return Localized::string(QStringLiteral("EQUAL_TAG"));
}

QString TagsViewController::sureDeleteText(int count) const
{
    return PluralText::format(count, Localized::string(QStringLiteral("SURE_DELETE_TAGS_ONE")),
                              Localized::string(QStringLiteral("SURE_DELETE_TAGS")));
}

void TagsViewController::markDeleted(ManagedObject *object)
{
    static_cast<MyTag *>(object)->setDeleted(true);
}
