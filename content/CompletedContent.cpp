#include "content/CompletedContent.h"

#include "content/ContentMarkup.h"
#include "content/ContentTemplate.h"

std::optional<QString> CompletedContent::newContentWithCompleted()
{
    const std::optional<QString> model = ContentTemplate::read();
    if (!model)
        return std::nullopt;
    return setCompletedInContent(*model);
}

std::optional<QString> CompletedContent::setCompletedInContent(const QString &content)
{
    if (content.isEmpty())
        return newContentWithCompleted();
    if (completed(content))
        return content;
    return ContentMarkup::closed(ContentMarkup::insertBeforeClosingTag(content, ContentMarkup::completedMarker));
}

QString CompletedContent::removeCompletedInContent(const QString &content)
{
    if (content.isEmpty())
        return content;
    QString result = content;
    const qsizetype at = content.indexOf(ContentMarkup::completedMarker);
    if (at >= 0)
        result.remove(at, ContentMarkup::completedMarker.size());
    return ContentMarkup::closed(result);
}

bool CompletedContent::completed(const QString &content)
{
    return content.contains(ContentMarkup::completedMarker);
}
