#pragma once

// The lengths the note service takes: a task's title (a note's title) of 1 to 255 characters, a
// notebook's or tag's name of 1 to 100, counted in UTF-16 code units. The service counts
// characters, and a name that fits in code units fits in characters too. The entry fields refuse
// what is longer; what reaches the store by other ways is cut to these lengths on the way out.
class NameLimits
{
public:
    static constexpr int titleMaxLength = 255;
    static constexpr int nameMaxLength = 100;

    NameLimits() = delete;
};
