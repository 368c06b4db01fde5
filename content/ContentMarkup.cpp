#include "content/ContentMarkup.h"

#include <array>

namespace {
constexpr std::array<QLatin1String, 4> markers{
    ContentMarkup::dueDateMarker,
    ContentMarkup::completedMarker,
    ContentMarkup::notesOpeningMarker,
    ContentMarkup::notesClosingMarker,
};
} // namespace

bool ContentMarkup::startsWithMarker(QStringView text)
{
    for (const QLatin1String &marker : markers) {
        if (text.startsWith(marker))
            return true;
    }
    return false;
}

QString ContentMarkup::insertBeforeClosingTag(const QString &content, const QString &field)
{
    const qsizetype at = content.indexOf(closingTag);
    QString result = content;
    if (at < 0)
        result.append(field);
    else
        result.insert(at, field);
    return result;
}

QString ContentMarkup::closed(const QString &content)
{
    const qsizetype first = content.indexOf(closingTag);
    if (first >= 0 && first + closingTag.size() == content.size())
        return content;

    // Every tag goes, whatever its case, including one that only forms once the tag inside it
    // is gone ("</en-</en-note>note>"): a single pass of QString::remove would leave that one
    // standing in front of the appended tag. The stack-like pass stays linear.
    QString result;
    result.reserve(content.size() + closingTag.size());
    for (const QChar c : content) {
        result.append(c);
        if (result.size() >= closingTag.size()
            && QStringView(result).last(closingTag.size()).compare(closingTag, Qt::CaseInsensitive) == 0)
            result.chop(closingTag.size());
    }
    result.append(closingTag);
    return result;
}
