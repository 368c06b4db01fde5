#include "ContentTest.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"

using TaskContentTest = ContentTest;

namespace {
QString withBlock(const char *block)
{
    return QStringLiteral("<en-note>a.KVONotes.%1.KVCNotes.b</en-note>").arg(QString::fromUtf8(block));
}
} // namespace

TEST_F(TaskContentTest, LinesAreWrittenAsEscapedDivsAndReadBackAsWritten)
{
    const QString text = QStringLiteral("Fish & chips <2>\n<div>x</div></en-note>]]>\x01");
    const QString content = TaskContent::newContentWithTaskc(text).value();
    EXPECT_TRUE(content.endsWith(QStringLiteral("<en-note>.KVONotes.<div>Fish &amp; chips &lt;2&gt;</div>"
                                                "<div>&lt;div&gt;x&lt;/div&gt;&lt;/en-note&gt;]]&gt;\uFFFD</div>.KVCNotes.</en-note>")))
        << content.toStdString();
    // XML cannot carry U+0001 even as a reference.
    EXPECT_EQ(TaskContent::taskc(content), QString(text).replace(u'\x01', QChar::ReplacementCharacter));

    // Replaced in place, with everything around it kept in order.
    const QString replaced = TaskContent::setTaskc(QString(), withBlock("<div>old</div>")).value();
    EXPECT_EQ(replaced, QStringLiteral("<en-note>a.KVONotes.<div></div>.KVCNotes.b</en-note>"));
    EXPECT_EQ(TaskContent::taskc(replaced), QString(""));
    EXPECT_EQ(TaskContent::removeTaskcInContent(replaced), QStringLiteral("<en-note>ab</en-note>"));
}

TEST_F(TaskContentTest, BlocksEditedElsewhereReadAsTheirLines)
{
    const std::pair<const char *, const char *> cases[] = {
        {"<div>first</div><DIV>second<BR /></Div>", "first\nsecond"},
        {"<div>one<br/>two</div>", "onetwo"},
        {"a&nbsp; b &quot;q&quot; &apos;s&apos; &#233;&#xE9;&#x1F600; &amp;lt;", "a  b \"q\" 's' éé😀 &lt;"},
        // References this reader does not know, or that name no character, stay as written.
        {"&eacute; &#0; &#xD800; &#X41; &#12345678901; &amp", "&eacute; &#0; &#xD800; &#X41; &#12345678901; &amp"},
    };
    for (const auto &[block, text] : cases)
        EXPECT_EQ(TaskContent::taskc(withBlock(block)), QString::fromUtf8(text)) << block;
}

TEST_F(TaskContentTest, MissingOrMisplacedMarkersDelimitNoBlock)
{
    // Only the opening marker, the closing one first, the two overlapping.
    for (const QString &content : {QStringLiteral("<en-note>.KVONotes.<div>x</div></en-note>"),
                                   QStringLiteral("<en-note>.KVCNotes.<div>x</div>.KVONotes.</en-note>"),
                                   QStringLiteral("<en-note>.KVONotes.KVCNotes.</en-note>")}) {
        EXPECT_FALSE(TaskContent::taskc(content).has_value()) << content.toStdString();
        EXPECT_EQ(TaskContent::removeTaskcInContent(content), content);
        EXPECT_EQ(TaskContent::setTaskc(QStringLiteral("new"), content), content);
    }
    // Only the closing marker: a new block goes before the closing tag, the stray marker stays.
    EXPECT_EQ(TaskContent::setTaskc(QStringLiteral("new"), QStringLiteral("<en-note>.KVCNotes.</en-note>")),
              QStringLiteral("<en-note>.KVCNotes..KVONotes.<div>new</div>.KVCNotes.</en-note>"));
}

TEST_F(TaskContentTest, MarkersTypedInTheTextAreOnlyText)
{
    const QString text = QStringLiteral(".DT.2011-03-05 .KVDone.\n.KVCNotes. .KVONotes..DT.DT.");
    QString content = TaskContent::newContentWithTaskc(text).value();
    EXPECT_FALSE(CompletedContent::completed(content));
    EXPECT_FALSE(DueDateContent::dueDate(content).has_value());
    EXPECT_EQ(TaskContent::taskc(content), text);

    // The task's own fields go in and out around the text without touching it.
    content = CompletedContent::setCompletedInContent(content).value();
    content = DueDateContent::setDueDate(QDateTime(QDate(2020, 1, 2), QTime(8, 0), Clock::timeZone()), content).value();
    EXPECT_EQ(DueDateContent::dueDate(content), QDateTime(QDate(2020, 1, 2), QTime(0, 0), Clock::timeZone()));
    content = CompletedContent::removeCompletedInContent(DueDateContent::removeDueDatedInContent(content));
    EXPECT_EQ(content, TaskContent::newContentWithTaskc(text));
}
