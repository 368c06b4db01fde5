#pragma once

#include "core/NameLimits.h"

#include <QString>

// What the user may type as a task's title or a notebook's or tag's name. The service takes
// titles of 1 to 255 characters and names of 1 to 100, none beginning or ending with white
// space, and no comma in a tag's name (the tag lists of other clients are comma-separated).
// Entries are trimmed of the white space at their ends; what is still refused is refused
// where it was typed, with the reason, so that nothing typed is dropped without a word.
class EnteredText
{
public:
    enum Kind { TaskTitle, NotebookName, TagName };

    static constexpr int titleMaxLength = NameLimits::titleMaxLength;
    static constexpr int nameMaxLength = NameLimits::nameMaxLength;

    // The text without the white space at its ends.
    static QString trimmed(const QString &text) { return text.trimmed(); }
    // Why the trimmed text cannot be taken as `kind`, localised; empty when it can.
    static QString refusal(Kind kind, const QString &trimmedText);

    EnteredText() = delete;
};
