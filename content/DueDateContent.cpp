#include "content/DueDateContent.h"

#include "content/ContentMarkup.h"
#include "content/ContentTemplate.h"
#include "content/DatePattern.h"

namespace {
// How many characters from the marker at 'at' on belong to it: the marker and the ten
// characters of its date. A marker that was not written with a date (typed in another client,
// or cut short) has less behind it, and replacing or removing must not reach into what follows:
// past the end of the content, into a tag (which would leave the note invalid ENML), or between
// the halves of a surrogate pair.
qsizetype markerSpan(const QString &content, qsizetype at)
{
    const qsizetype payload = at + ContentMarkup::dueDateMarker.size();
    qsizetype end = payload;
    while (end < content.size() && end - payload < DatePattern::length && content[end] != u'<')
        ++end;
    if (end > payload && end < content.size() && content[end].isLowSurrogate() && content[end - 1].isHighSurrogate())
        --end;
    return end - at;
}
} // namespace

std::optional<QString> DueDateContent::newContentWithDate(const QDateTime &date)
{
    const std::optional<QString> model = ContentTemplate::read();
    if (!model)
        return std::nullopt;
    return setDueDate(date, *model);
}

std::optional<QString> DueDateContent::setDueDate(const QDateTime &date, const QString &content)
{
    if (content.isEmpty())
        return newContentWithDate(date);
    const std::optional<QString> day = DatePattern::format(date);
    if (!day)
        return ContentMarkup::closed(content);

    const QString marker = ContentMarkup::dueDateMarker + *day;
    const qsizetype at = content.indexOf(ContentMarkup::dueDateMarker);
    if (at < 0)
        return ContentMarkup::closed(ContentMarkup::insertBeforeClosingTag(content, marker));
    QString result = content;
    result.replace(at, markerSpan(content, at), marker);
    return ContentMarkup::closed(result);
}

QString DueDateContent::removeDueDatedInContent(const QString &content)
{
    if (content.isEmpty())
        return content;
    QString result = content;
    const qsizetype at = content.indexOf(ContentMarkup::dueDateMarker);
    if (at >= 0)
        result.remove(at, markerSpan(content, at));
    return ContentMarkup::closed(result);
}

std::optional<QDateTime> DueDateContent::dueDate(const QString &content)
{
    const qsizetype at = content.indexOf(ContentMarkup::dueDateMarker);
    if (at < 0)
        return std::nullopt;
    const qsizetype payload = at + ContentMarkup::dueDateMarker.size();
    if (content.size() - payload < DatePattern::length)
        return std::nullopt;
    return DatePattern::parse(QStringView(content).sliced(payload, DatePattern::length));
}
