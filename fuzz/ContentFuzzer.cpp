// Feeds arbitrary note contents to the content codecs. The input is a content, optionally
// followed by a NUL byte and a notes text. Beyond the sanitizers' own checks it aborts when a
// change leaves other than one closing tag at the end, or when a text does not come back as
// written from a well-formed note.
#include "content/CompletedContent.h"
#include "content/ContentTemplate.h"
#include "content/DueDateContent.h"
#include "content/TaskContent.h"

#include <QXmlStreamReader>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
const QString closingTag = QStringLiteral("</en-note>");

void require(bool condition, const char *what, const QString &input)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\ninput: %s\n", what, input.toUtf8().constData());
    std::abort();
}

void requireClosed(const QString &result, const QString &input)
{
    require(result.endsWith(closingTag) && result.count(closingTag) == 1, "not one closing tag at the end", input);
}

bool isWellFormed(const QString &content)
{
    QXmlStreamReader xml(content);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

// True when XML can carry every character of text as it is.
bool fitsXml(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(c) || c == 0xFFFE || c == 0xFFFF || (c < 0x20 && c != 0x9 && c != 0xA && c != 0xD))
            return false;
    }
    return true;
}
} // namespace

// Out here because the macro declares the initialiser where it stands, and inside an
// extern "C" function that declaration would lose its C++ name.
static void initResources()
{
    Q_INIT_RESOURCE(kelvara);
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    initResources();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = bytes.indexOf('\0');
    const QString content = QString::fromUtf8(split < 0 ? bytes : bytes.first(split));
    const QString text = split < 0 ? QString() : QString::fromUtf8(bytes.sliced(split + 1));

    (void)DueDateContent::dueDate(content);
    (void)CompletedContent::completed(content);
    (void)TaskContent::taskc(content);

    if (!content.isEmpty()) {
        const QDateTime due(QDate(2011, 3, 5), QTime(12, 0));
        requireClosed(DueDateContent::setDueDate(due, content).value(), content);
        requireClosed(DueDateContent::removeDueDatedInContent(content), content);
        if (!CompletedContent::completed(content))
            requireClosed(CompletedContent::setCompletedInContent(content).value(), content);
        requireClosed(CompletedContent::removeCompletedInContent(content), content);
        requireClosed(TaskContent::setTaskc(text, content).value(), content);
        requireClosed(TaskContent::removeTaskcInContent(content), content);
    }

    const QString note = TaskContent::newContentWithTaskc(text).value();
    require(isWellFormed(note), "text made the note malformed", text);
    require(!CompletedContent::completed(note) && !DueDateContent::dueDate(note), "text read as a marker", text);
    if (fitsXml(text))
        require(TaskContent::taskc(note) == text, "text did not come back as written", text);
    return 0;
}
