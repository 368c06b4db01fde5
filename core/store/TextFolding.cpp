#include "core/store/TextFolding.h"

QString TextFolding::fold(const QString &text)
{
    if (text.isEmpty())
        return QStringLiteral("");
    // Most text is ASCII, where decomposing drops nothing and folding the case is lowering A to
    // Z: done in one pass here, it costs a small part of the general path (the first search folds
    // every title of the store).
    QString lower(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(lower.data());
    const char16_t *in = reinterpret_cast<const char16_t *>(text.utf16());
    bool ascii = true;
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = in[i];
        if (c >= 0x80) {
            ascii = false;
            break;
        }
        out[i] = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    if (ascii)
        return lower;
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
