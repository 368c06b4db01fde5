#pragma once

#include <QString>

#include <optional>

// A task's notes text ("taskc") in its note's content: a block of "<div>" lines between the
// markers ".KVONotes." and ".KVCNotes.", right before the closing tag. Stateless; empty
// content stands for a note that has none.
class TaskContent
{
public:
    // The template with the text set; nothing when the template cannot be read.
    static std::optional<QString> newContentWithTaskc(const QString &text);
    // Replaces the block from the first opening marker to the first closing marker, or adds a
    // block when there is no opening marker. An opening marker without a closing one behind it
    // is a block this code cannot delimit, so the text is not written. Empty content gives
    // newContentWithTaskc().
    static std::optional<QString> setTaskc(const QString &text, const QString &content);
    // Removes the block with its markers when both delimit one. Empty content is returned as
    // it is.
    static QString removeTaskcInContent(const QString &content);
    // The text of the block; the empty string for an empty block, nothing without a block.
    static std::optional<QString> taskc(const QString &content);

    TaskContent() = delete;
};
