#pragma once

#include "core/store/PredicateNode.h"

#include <QString>

#include <memory>

// Parses predicate formats once into trees and keeps them: formats are fixed strings of the
// program, never user text (user text only ever arrives as a %@ argument).
//
//   predicate  := or
//   or         := and (("OR" | "||") and)*
//   and        := unary (("AND" | "&&") unary)*
//   unary      := ("NOT" | "!") unary | "(" predicate ")" | "TRUEPREDICATE" | "FALSEPREDICATE" | comparison
//   comparison := ["ANY"] keypath operator value
//   operator   := "==" | "=" | "!=" | "<>" | "<" | "<=" | ">" | ">=" | ("like" | "contains" | "beginswith" | "endswith") ["[c]" | "[d]" | "[cd]"]
//   value      := "%@" | number | quoted string | "nil" | "NULL" | "YES" | "NO" | "TRUE" | "FALSE"
class PredicateParser
{
public:
    struct Parsed
    {
        std::shared_ptr<const PredicateNode> root;
        int argumentCount = 0;
        int comparisonCount = 0;
    };

    // Throws std::invalid_argument naming the format and the position of a malformed format.
    static Parsed parse(const QString &format);
    // The cached parse of a format.
    static Parsed cached(const QString &format);

    PredicateParser() = delete;
};
