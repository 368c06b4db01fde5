#include "ContentTest.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"

using ContentTemplateTest = ContentTest;

TEST_F(ContentTemplateTest, UnreadableTemplateLeavesEveryNewContentAbsent)
{
    const QDateTime due(QDate(2011, 3, 5), QTime(12, 0), Clock::timeZone());
    const QString existing = QStringLiteral("<en-note>x</en-note>");
    // An empty template would otherwise send the set operations back to it for ever.
    for (const QString &path : {QStringLiteral("/nonexistent/contentModel.txt"), QStringLiteral("/dev/null")}) {
        ContentTemplate::setPath(path);
        EXPECT_FALSE(DueDateContent::newContentWithDate(due).has_value());
        EXPECT_FALSE(CompletedContent::newContentWithCompleted().has_value());
        EXPECT_FALSE(TaskContent::newContentWithTaskc(QStringLiteral("t")).has_value());
        EXPECT_FALSE(DueDateContent::setDueDate(due, QString()).has_value());
        EXPECT_FALSE(CompletedContent::setCompletedInContent(QString()).has_value());
        EXPECT_FALSE(TaskContent::setTaskc(QStringLiteral("t"), QString()).has_value());
        // Content of its own needs no template.
        EXPECT_TRUE(CompletedContent::setCompletedInContent(existing).has_value());
    }
    ContentTemplate::setPath(QString());
    EXPECT_EQ(CompletedContent::setCompletedInContent(QString()), CompletedContent::setCompletedInContent(model()));
}
