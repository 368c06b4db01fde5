#include "ui/PluralText.h"

#include "core/StringFormat.h"

QString PluralText::format(int count, const QString &one, const QString &other)
{
    return StringFormat::format(count == 1 ? one : other, {count});
}
