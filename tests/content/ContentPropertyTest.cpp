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
} // namespace

using ContentPropertyTest = ContentTest;

TEST_F(ContentPropertyTest, AnyTextRoundTripsAndEveryChangeOfAnyContentEndsWithOneClosingTag)
{
    std::mt19937 random(42);
    const auto join = [&random](const QStringList &pieces, int maxCount) {
        QString result;
        for (int n = int(random() % unsigned(maxCount + 1)); n > 0; --n)
            result += pieces[qsizetype(random() % unsigned(pieces.size()))];
        return result;
    };
    const QString base = CompletedContent::newContentWithCompleted().value();
    const QDateTime due(QDate(2011, 3, 5), QTime(18, 0), Clock::timeZone());
    for (int i = 0; i < 3000; ++i) {
        const QString text = join(textPieces, 12);
        const QString note = TaskContent::setTaskc(text, base).value();
        ASSERT_EQ(TaskContent::taskc(note), text) << text.toStdString();
        ASSERT_TRUE(isWellFormed(note)) << note.toStdString();
        ASSERT_TRUE(CompletedContent::completed(note));
        ASSERT_FALSE(DueDateContent::dueDate(note).has_value()) << text.toStdString();

        const QString content = join(contentPieces, 10);
        // Whatever the content, the readers answer without reading out of it.
        (void)DueDateContent::dueDate(content);
        (void)TaskContent::taskc(content);
        if (content.isEmpty())
            continue;

        const QString dated = DueDateContent::setDueDate(due, content).value();
        EXPECT_EQ(DueDateContent::dueDate(dated), due.date().startOfDay(Clock::timeZone()));
        const QString noted = TaskContent::setTaskc(text, content).value();
        QList<std::pair<const char *, QString>> changes = {
            {"setDueDate", dated}, {"removeDueDated", DueDateContent::removeDueDatedInContent(content)},
            {"removeCompleted", CompletedContent::removeCompletedInContent(content)},
            {"setTaskc", noted}, {"removeTaskc", TaskContent::removeTaskcInContent(content)}};
        // Content already completed is left exactly as it was.
        if (CompletedContent::completed(content))
            EXPECT_EQ(CompletedContent::setCompletedInContent(content), content);
        else
            changes.append({"setCompleted", CompletedContent::setCompletedInContent(content).value()});
        for (const auto &[operation, changed] : std::as_const(changes)) {
            EXPECT_TRUE(changed.endsWith(QStringLiteral("</en-note>")) && changed.count(QStringLiteral("</en-note>")) == 1)
                << operation << " of " << content.toStdString() << " gave " << changed.toStdString();
        }
        if (!content.contains(QStringLiteral(".KVONotes.")) && !content.contains(QStringLiteral(".KVCNotes."))) {
            EXPECT_EQ(TaskContent::taskc(noted), text) << content.toStdString();
        }
    }
}
