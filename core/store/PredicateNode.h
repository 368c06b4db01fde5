#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

// The parsed form of a predicate format. Shared, immutable, and free of arguments: the same
// tree serves every evaluation of the same format.
struct PredicateNode
{
    enum class Kind { And, Or, Not, Comparison, True, False };
    enum class Operator { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like, Contains, BeginsWith, EndsWith };
    enum class Operand { Argument, Literal };

    Kind kind = Kind::True;
    std::vector<std::unique_ptr<PredicateNode>> children;

    // Comparison: [ANY] keyPath operator[cd] operand
    bool any = false;
    QString keyPath;
    Operator op = Operator::Equal;
    bool caseInsensitive = false;
    bool diacriticInsensitive = false;
    Operand operand = Operand::Literal;
    int argumentIndex = -1; // which %@
    QVariant literal;       // invalid for nil
    int comparisonIndex = -1;
};
