#pragma once

#include <QString>

#include <optional>

// The content of a new note before any task field is set: the resource "contentModel" of
// type "txt", a complete ENML document with an empty body.
class ContentTemplate
{
public:
    // The template as UTF-8 text, or nothing when it cannot be read. An empty file counts as
    // unreadable: the set operations fall back to the template when given empty content, so an
    // empty template would send them round that loop for ever.
    static std::optional<QString> read();

    static QString path();
    // Reads the template from another file (tests use a missing or empty one); an empty path
    // restores the application's resource.
    static void setPath(const QString &path);

    ContentTemplate() = delete;
};
