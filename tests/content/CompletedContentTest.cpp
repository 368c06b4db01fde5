#include "ContentTest.h"

#include "content/CompletedContent.h"

using CompletedContentTest = ContentTest;

TEST_F(CompletedContentTest, TheMarkerGoesBeforeTheClosingTagOnceAndIsRemovedOneAtATime)
{
    const std::pair<const char *, const char *> cases[] = {
        {"<en-note>x</en-note>", "<en-note>x.KVDone.</en-note>"},
        // What followed the closing tag ends up in front of it.
        {"<en-note>x</en-note>\n", "<en-note>x.KVDone.\n</en-note>"},
        {"<en-note>a</en-note>b</EN-NOTE> ", "<en-note>a.KVDone.b </en-note>"},
        // A tag that only forms once the one inside it is gone goes too.
        {"<en-note>a</en-note></en-</en-note>note>", "<en-note>a.KVDone.</en-note>"},
        // No closing tag: there is no better place than the end.
        {"<en-note>x", "<en-note>x.KVDone.</en-note>"},
    };
    for (const auto &[content, expected] : cases) {
        const auto result = CompletedContent::setCompletedInContent(QString::fromUtf8(content));
        EXPECT_EQ(result, QString::fromUtf8(expected)) << content;
        EXPECT_TRUE(CompletedContent::completed(result.value_or(QString())));
    }
    EXPECT_EQ(CompletedContent::newContentWithCompleted(), QString(model()).replace(QStringLiteral("</en-note>"), QStringLiteral(".KVDone.</en-note>")));

    // Content already completed is left exactly as it was; removing takes one marker at a time.
    const QString completed = QStringLiteral("<en-note>.KVDone.a.KVDone.</en-note>\n</en-note>");
    EXPECT_EQ(CompletedContent::setCompletedInContent(completed), completed);

    const QString removed = CompletedContent::removeCompletedInContent(completed);
    EXPECT_EQ(removed, QStringLiteral("<en-note>a.KVDone.\n</en-note>"));
    EXPECT_TRUE(CompletedContent::completed(removed));
    EXPECT_EQ(CompletedContent::removeCompletedInContent(removed), QStringLiteral("<en-note>a\n</en-note>"));
    EXPECT_FALSE(CompletedContent::completed(QString()) || CompletedContent::completed(QStringLiteral("<en-note>.kvdone.</en-note>")));
}
