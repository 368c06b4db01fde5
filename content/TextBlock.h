#pragma once

#include <QString>
#include <QStringView>

// A task's notes text as it stands between the notes markers: one "<div>" line per text line.
// The text is character data of an XML document that other clients read and edit, so it is
// escaped on the way in and its character references are resolved on the way out.
class TextBlock
{
public:
    // "<div>" + the text, escaped, with every line break as "</div><div>" + "</div>".
    // "&", "<" and ">" become references, so that no text makes the note invalid ENML; so does
    // the leading "." of anything that would read as a marker, so that the text cannot set a
    // field of the task or end its own block. Characters XML cannot carry at all (most control
    // characters, unpaired surrogates, U+FFFE, U+FFFF) become U+FFFD.
    static QString encode(const QString &text);

    // The text of a block, written by encode() or edited in another client: a leading "<div>"
    // goes, every further "<div>" is a line break, the closing tags "</div>", "</p>" and the
    // line breaks "<br/>", "<br />" go (tags in any case). Then the XML character references
    // and "&nbsp;" become characters; other mark-up stays as it is.
    static QString decode(QStringView block);

    TextBlock() = delete;
};
