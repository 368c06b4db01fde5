#include "content/TextBlock.h"

#include "content/ContentMarkup.h"

#include <optional>

namespace {
const QString lineOpen = QStringLiteral("<div>");
const QString lineClose = QStringLiteral("</div>");
const QString lineBreak = QStringLiteral("</div><div>");

bool isXmlCharacter(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

int digitValue(QChar c, bool hex)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (hex && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (hex && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The character a reference between "&" and ";" stands for, or nothing for a reference this
// reader does not know (which then stays in the text as written).
std::optional<char32_t> referencedCharacter(QStringView name)
{
    if (name == u"amp")
        return U'&';
    if (name == u"lt")
        return U'<';
    if (name == u"gt")
        return U'>';
    if (name == u"quot")
        return U'"';
    if (name == u"apos")
        return U'\'';
    // Editors write it to keep typed spaces from collapsing; the user typed a plain space.
    if (name == u"nbsp")
        return U' ';
    if (name.size() < 2 || name[0] != u'#')
        return std::nullopt;

    // XML writes the hexadecimal form with a lower-case "x" only.
    const bool hex = name[1] == u'x';
    const QStringView number = name.sliced(hex ? 2 : 1);
    // Eight digits reach past U+10FFFF in either base; more cannot be a character.
    if (number.isEmpty() || number.size() > 8)
        return std::nullopt;
    char32_t value = 0;
    for (const QChar digit : number) {
        const int d = digitValue(digit, hex);
        if (d < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + char32_t(d);
    }
    if (!isXmlCharacter(value))
        return std::nullopt;
    return value;
}

QString resolveReferences(const QString &text)
{
    // The longest reference known here, "&#x0010FFFF;", has 10 characters between "&" and ";".
    constexpr qsizetype longestName = 10;
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'&') {
            // Look no further than the longest name, so that a text full of "&" stays linear.
            const QStringView window = QStringView(text).sliced(i + 1).first(
                qMin(longestName + 1, text.size() - i - 1));
            const qsizetype length = window.indexOf(u';');
            if (length >= 0) {
                if (const auto c = referencedCharacter(window.first(length))) {
                    const char32_t ucs4[] = {*c};
                    result.append(QString::fromUcs4(ucs4, 1));
                    i += length + 2;
                    continue;
                }
            }
        }
        result.append(text[i]);
        ++i;
    }
    return result;
}
} // namespace

QString TextBlock::encode(const QString &text)
{
    QString body;
    body.reserve(text.size() + text.size() / 8 + 16);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            body.append(c);
            body.append(text[++i]);
            continue;
        }
        if (c.isSurrogate() || !isXmlCharacter(c.unicode())) {
            body.append(QChar::ReplacementCharacter);
            continue;
        }
        switch (c.unicode()) {
        case u'&':
            body.append(QLatin1String("&amp;"));
            break;
        case u'<':
            body.append(QLatin1String("&lt;"));
            break;
        case u'>':
            body.append(QLatin1String("&gt;"));
            break;
        case u'\n':
            body.append(lineBreak);
            break;
        case u'.':
            if (ContentMarkup::startsWithMarker(QStringView(text).sliced(i)))
                body.append(QLatin1String("&#46;"));
            else
                body.append(c);
            break;
        default:
            body.append(c);
        }
    }
    return lineOpen + body + lineClose;
}

QString TextBlock::decode(QStringView block)
{
    QString text = block.toString();
    if (text.startsWith(lineOpen))
        text.remove(0, lineOpen.size());
    text.replace(lineOpen, QStringLiteral("\n"), Qt::CaseInsensitive);
    text.remove(lineClose, Qt::CaseInsensitive);
    text.remove(QStringLiteral("<br/>"), Qt::CaseInsensitive);
    text.remove(QStringLiteral("<br />"), Qt::CaseInsensitive);
    text.remove(QStringLiteral("</p>"), Qt::CaseInsensitive);
    return resolveReferences(text);
}
