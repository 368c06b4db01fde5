#include "content/TaskContent.h"

#include "content/ContentMarkup.h"
#include "content/ContentTemplate.h"
#include "content/TextBlock.h"

namespace {
struct Block
{
    qsizetype begin; // of the opening marker
    qsizetype end; // behind the closing marker
};

// The block between the first opening and the first closing marker. A closing marker that
// stands before the opening one, or overlaps it (".KVONotes.KVCNotes." shares a dot), delimits
// nothing.
std::optional<Block> notesBlock(const QString &content)
{
    const qsizetype open = content.indexOf(ContentMarkup::notesOpeningMarker);
    const qsizetype close = content.indexOf(ContentMarkup::notesClosingMarker);
    if (open < 0 || close < open + ContentMarkup::notesOpeningMarker.size())
        return std::nullopt;
    return Block{open, close + ContentMarkup::notesClosingMarker.size()};
}
} // namespace

std::optional<QString> TaskContent::newContentWithTaskc(const QString &text)
{
    const std::optional<QString> model = ContentTemplate::read();
    if (!model)
        return std::nullopt;
    return setTaskc(text, *model);
}

std::optional<QString> TaskContent::setTaskc(const QString &text, const QString &content)
{
    if (content.isEmpty())
        return newContentWithTaskc(text);
    const QString block = ContentMarkup::notesOpeningMarker + TextBlock::encode(text) + ContentMarkup::notesClosingMarker;
    if (!content.contains(ContentMarkup::notesOpeningMarker))
        return ContentMarkup::closed(ContentMarkup::insertBeforeClosingTag(content, block));
    QString result = content;
    if (const std::optional<Block> old = notesBlock(content))
        result.replace(old->begin, old->end - old->begin, block);
    return ContentMarkup::closed(result);
}

QString TaskContent::removeTaskcInContent(const QString &content)
{
    if (content.isEmpty())
        return content;
    QString result = content;
    if (const std::optional<Block> old = notesBlock(content))
        result.remove(old->begin, old->end - old->begin);
    return ContentMarkup::closed(result);
}

std::optional<QString> TaskContent::taskc(const QString &content)
{
    const std::optional<Block> block = notesBlock(content);
    if (!block)
        return std::nullopt;
    const qsizetype textBegin = block->begin + ContentMarkup::notesOpeningMarker.size();
    const qsizetype textEnd = block->end - ContentMarkup::notesClosingMarker.size();
    return TextBlock::decode(QStringView(content).sliced(textBegin, textEnd - textBegin));
}
