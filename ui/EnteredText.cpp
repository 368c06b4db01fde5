#include "ui/EnteredText.h"

#include "core/Localized.h"

QString EnteredText::refusal(Kind kind, const QString &text)
{
    if (kind == TaskTitle) {
        if (text.isEmpty())
            return Localized::string(QStringLiteral("TASK_NO_TITLE"));
        if (text.size() > titleMaxLength)
            return Localized::format(QStringLiteral("TASK_TITLE_TOO_LONG"), {titleMaxLength, int(text.size())});
        return QString();
    }
    if (text.isEmpty())
        return Localized::string(QStringLiteral("NAME_EMPTY"));
    if (text.size() > nameMaxLength)
        return Localized::format(QStringLiteral("NAME_TOO_LONG"), {nameMaxLength, int(text.size())});
    if (kind == TagName && text.contains(u','))
        return Localized::string(QStringLiteral("TAG_NAME_COMMA"));
    return QString();
}
