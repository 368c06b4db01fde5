#pragma once

#include <QString>

#include <optional>

// A task's completion in its note's content: the marker ".KVDone." right before the closing
// tag means completed. Stateless; empty content stands for a note that has none.
class CompletedContent
{
public:
    // The template marked completed; nothing when the template cannot be read.
    static std::optional<QString> newContentWithCompleted();
    // Empty content gives newContentWithCompleted(). Content that is already completed comes
    // back exactly as it was: its closing tag is not repaired either.
    static std::optional<QString> setCompletedInContent(const QString &content);
    // Removes the first marker only. Empty content is returned as it is.
    static QString removeCompletedInContent(const QString &content);
    static bool completed(const QString &content);

    CompletedContent() = delete;
};
