#include "core/store/TextFolding.h"

namespace {
bool isAscii(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}
} // namespace

QString TextFolding::fold(const QString &text)
{
    if (isAscii(text)) {
        QString lower = text.toLower();
        return lower.isNull() ? QStringLiteral("") : lower;
    }
    QString folded = stripDiacritics(text).toCaseFolded();
    return folded.isNull() ? QStringLiteral("") : folded;
}

QString TextFolding::stripDiacritics(const QString &text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString stripped;
    stripped.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing)
            stripped += c;
    }
    return stripped;
}

QString TextFolding::foldCase(const QString &text)
{
    QString folded = text.toCaseFolded();
    return folded.isNull() ? QStringLiteral("") : folded;
}
