#include "ContentTest.h"

#include "content/CompletedContent.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"

#include <random>

namespace {
// Pieces that meet at the edges the codecs care about: markers whole and in parts, tags in
// other cases, references, characters outside the BMP and a lone surrogate.
const QStringList contentPieces = QStringLiteral(
    "<en-note>|</en-note>|</EN-Note>|</en-|note>|\n| |text|.DT.|2011-03-05|05-03-2011|.KVDone.|.KVONotes.|"
    ".KVCNotes.|.KV|<div>|</div>|<br/>|&amp;|&#46;|&|<|-|.|😀").split(u'|') << QString(QChar(0xD83D));
const QStringList textPieces = QStringLiteral(
    "a| |\n|\r|\t|&|<|>|;|#|&amp;|&#46;|&nbsp;|.|DT|.DT.|.KVDone.|.KVONotes.|.KVCNotes.|<div>|</div>|"
    "<BR />|</p>|</en-note>|é|漢|😀|\u00A0").split(u'|');

class Generator
{
public:
    explicit Generator(unsigned seed) : m_random(seed) {}
    QString join(const QStringList &pieces, int maxCount)
    {
        QString result;
        for (int n = int(m_random() % unsigned(maxCount + 1)); n > 0; --n)
            result += pieces[qsizetype(m_random() % unsigned(pieces.size()))];
        return result;
    }

private:
    std::mt19937 m_random;
};

void expectOneClosingTagAtTheEnd(const QString &content, const QString &from, const char *operation)
{
    EXPECT_TRUE(content.endsWith(QStringLiteral("</en-note>")) && content.count(QStringLiteral("</en-note>")) == 1)
        << operation << " of " << from.toStdString() << " gave " << content.toStdString();
}
} // namespace

class ContentPropertyTest : public ContentTest
{
};

TEST_F(ContentPropertyTest, AnyTextRoundTripsAndKeepsTheNoteWellFormed)
{
    Generator generate(20110305);
    const QString base = CompletedContent::newContentWithCompleted().value();
    for (int i = 0; i < 3000; ++i) {
        const QString text = generate.join(textPieces, 12);
        const QString content = TaskContent::setTaskc(text, base).value();
        ASSERT_EQ(TaskContent::taskc(content), text) << text.toStdString();
        ASSERT_TRUE(isWellFormed(content)) << content.toStdString();
        ASSERT_TRUE(CompletedContent::completed(content));
        ASSERT_FALSE(DueDateContent::dueDate(content).has_value()) << text.toStdString();
    }
}

TEST_F(ContentPropertyTest, EveryChangeOfAnyContentEndsWithOneClosingTag)
{
    Generator generate(42);
    const QDateTime due(QDate(2011, 3, 5), QTime(18, 0), Clock::timeZone());
    for (int i = 0; i < 3000; ++i) {
        const QString content = generate.join(contentPieces, 10);
        const QString text = generate.join(textPieces, 4);
        // Whatever the content, the readers answer without reading out of it.
        (void)DueDateContent::dueDate(content);
        (void)TaskContent::taskc(content);
        if (content.isEmpty())
            continue;

        const QString dated = DueDateContent::setDueDate(due, content).value();
        expectOneClosingTagAtTheEnd(dated, content, "setDueDate");
        EXPECT_EQ(DueDateContent::dueDate(dated), due.date().startOfDay(Clock::timeZone()));
        expectOneClosingTagAtTheEnd(DueDateContent::removeDueDatedInContent(content), content, "removeDueDated");

        const QString completed = CompletedContent::setCompletedInContent(content).value();
        if (CompletedContent::completed(content)) {
            EXPECT_EQ(completed, content);
        } else {
            expectOneClosingTagAtTheEnd(completed, content, "setCompleted");
        }
        expectOneClosingTagAtTheEnd(CompletedContent::removeCompletedInContent(content), content, "removeCompleted");

        const QString noted = TaskContent::setTaskc(text, content).value();
        expectOneClosingTagAtTheEnd(noted, content, "setTaskc");
        expectOneClosingTagAtTheEnd(TaskContent::removeTaskcInContent(content), content, "removeTaskc");
        if (!content.contains(QStringLiteral(".KVONotes.")) && !content.contains(QStringLiteral(".KVCNotes."))) {
            EXPECT_EQ(TaskContent::taskc(noted), text) << content.toStdString();
        }
    }
}
