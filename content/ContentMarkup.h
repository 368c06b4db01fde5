#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>

// The literal string work the three content codecs share. A note's content is never parsed as
// XML: the codecs find their markers by plain search, and the closing tag "</en-note>" is the
// only structural anchor.
class ContentMarkup
{
public:
    static constexpr QLatin1String closingTag{"</en-note>"};
    static constexpr QLatin1String dueDateMarker{".DT."};
    static constexpr QLatin1String completedMarker{".KVDone."};
    static constexpr QLatin1String notesOpeningMarker{".KVONotes."};
    static constexpr QLatin1String notesClosingMarker{".KVCNotes."};

    // True when text begins with one of the four markers.
    static bool startsWithMarker(QStringView text);

    // Puts a new field right before the first closing tag. Content without one has no proper
    // place for it; the field then goes at the end, where closed() puts the tag behind it.
    static QString insertBeforeClosingTag(const QString &content, const QString &field);

    // The last step of every change: the content ends with exactly one closing tag. Anything
    // behind the first tag (a line break, blanks, a second tag) moves in front of it.
    static QString closed(const QString &content);

    ContentMarkup() = delete;
};
