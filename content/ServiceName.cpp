#include "content/ServiceName.h"

#include "core/Localized.h"
#include "core/NameLimits.h"

namespace {
enum class Commas { Keep, Separate };

// Pairs of surrogates stay, unpaired ones and control characters go, and each run of line
// breaks and tabs becomes one space.
QString withoutControls(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool inBreak = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result.append(c).append(text.at(++i));
            inBreak = false;
            continue;
        }
        const QChar::Category category = c.category();
        const bool control = category == QChar::Other_Control;
        if ((control && c.isSpace()) || category == QChar::Separator_Line || category == QChar::Separator_Paragraph) {
            if (!inBreak)
                result.append(u' ');
            inBreak = true;
            continue;
        }
        if (control || c.isSurrogate())
            continue;
        result.append(c);
        inBreak = false;
    }
    return result;
}

// Other clients show a note's tags as one comma-separated list, so a comma cannot be part of a
// name: each comma, with the commas and white space around it, becomes one space.
QString separatedAtCommas(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) != u',') {
            result.append(text.at(i++));
            continue;
        }
        while (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
        while (i < text.size() && (text.at(i) == u',' || text.at(i).isSpace()))
            ++i;
        result.append(u' ');
    }
    return result;
}

QString cleaned(const QString &text, Commas commas, int maxLength, const char *fallbackKey)
{
    QString result = withoutControls(text);
    if (commas == Commas::Separate)
        result = separatedAtCommas(result);
    result = result.trimmed();
    if (result.size() > maxLength) {
        qsizetype cut = maxLength;
        if (result.at(cut - 1).isHighSurrogate())
            --cut;
        result = result.first(cut).trimmed();
    }
    if (result.isEmpty())
        return Localized::string(QLatin1String(fallbackKey));
    return result;
}
} // namespace

QString ServiceName::noteTitle(const QString &title)
{
    return cleaned(title, Commas::Keep, NameLimits::titleMaxLength, "NEW_TASK");
}

QString ServiceName::notebookName(const QString &name)
{
    return cleaned(name, Commas::Keep, NameLimits::nameMaxLength, "NEW_NOTEBOOK");
}

QString ServiceName::tagName(const QString &name)
{
    return cleaned(name, Commas::Separate, NameLimits::nameMaxLength, "NEW_TAG");
}
