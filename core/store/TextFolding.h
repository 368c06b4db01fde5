#pragma once

#include <QString>

// Case- and diacritic-insensitive comparison: both sides are decomposed (NFD), stripped of
// their non-spacing marks and case folded, so "ÉCOLE" contains "ecole".
class TextFolding
{
public:
    // Never null, so that a cached empty result is told apart from "not computed".
    static QString fold(const QString &text);
    static QString foldCase(const QString &text); // case only
    static QString stripDiacritics(const QString &text); // decomposed, marks dropped, case kept

    TextFolding() = delete;
};
