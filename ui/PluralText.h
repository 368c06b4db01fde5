#pragma once

#include <QString>

// A text about a number of things, in the form its language uses for that number. Our string
// tables give each such text twice: KEY_ONE for exactly one thing, KEY for any other number,
// with the number as its "%d". That is the whole rule in English and Spanish; a language with
// more forms would add keys here.
class PluralText
{
public:
    // `one` and `other` are the two localised texts; the count fills the "%d" of the one used.
    static QString format(int count, const QString &one, const QString &other);

    PluralText() = delete;
};
