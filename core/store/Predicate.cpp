#include "core/store/Predicate.h"

#include "core/store/ManagedObject.h"
#include "core/store/TextFolding.h"

#include <QDateTime>

#include <stdexcept>

namespace {
using Op = PredicateNode::Operator;

QString foldAs(const QString &text, bool caseInsensitive, bool diacriticInsensitive)
{
    if (caseInsensitive && diacriticInsensitive)
        return TextFolding::fold(text);
    if (caseInsensitive)
        return TextFolding::foldCase(text);
    return TextFolding::stripDiacritics(text);
}

// Whole-string match with * (any run) and ? (any one character).
bool globMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0, p = 0, star = -1, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || (pattern[p] != u'*' && pattern[p] == text[t]))) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool absentResult(Op op, bool leftAbsent, bool rightAbsent)
{
    if (op == Op::Equal)
        return leftAbsent && rightAbsent;
    if (op == Op::NotEqual)
        return !(leftAbsent && rightAbsent);
    return false;
}

template<typename T>
bool ordered(Op op, const T &left, const T &right)
{
    switch (op) {
    case Op::Equal: return left == right;
    case Op::NotEqual: return left != right;
    case Op::Less: return left < right;
    case Op::LessEqual: return left <= right;
    case Op::Greater: return left > right;
    case Op::GreaterEqual: return left >= right;
    default: return false;
    }
}
} // namespace

Predicate Predicate::withFormat(const QString &format, const QVariantList &arguments)
{
    Predicate p;
    const PredicateParser::Parsed parsed = PredicateParser::cached(format);
    if (parsed.argumentCount != arguments.size())
        throw std::invalid_argument(QStringLiteral("predicate \"%1\" takes %2 arguments, %3 given")
                                        .arg(format).arg(parsed.argumentCount).arg(arguments.size()).toStdString());
    p.m_format = format;
    p.m_root = parsed.root;
    p.m_operands.resize(size_t(parsed.comparisonCount));
    p.prepareFolding(*p.m_root);
    // Arguments are bound after the tree is walked once for the literals.
    std::vector<const PredicateNode *> stack{p.m_root.get()};
    while (!stack.empty()) {
        const PredicateNode *node = stack.back();
        stack.pop_back();
        for (const auto &child : node->children)
            stack.push_back(child.get());
        if (node->kind != PredicateNode::Kind::Comparison || node->operand != PredicateNode::Operand::Argument)
            continue;
        Bound b = bind(arguments.at(node->argumentIndex));
        if (b.kind == ValueKind::Text && (node->caseInsensitive || node->diacriticInsensitive))
            b.folded = foldAs(b.text, node->caseInsensitive, node->diacriticInsensitive);
        p.m_operands[size_t(node->comparisonIndex)] = std::move(b);
    }
    return p;
}

void Predicate::prepareFolding(const PredicateNode &node)
{
    for (const auto &child : node.children)
        prepareFolding(*child);
    if (node.kind != PredicateNode::Kind::Comparison || node.operand != PredicateNode::Operand::Literal)
        return;
    Bound b = bind(node.literal);
    if (b.kind == ValueKind::Text && (node.caseInsensitive || node.diacriticInsensitive))
        b.folded = foldAs(b.text, node.caseInsensitive, node.diacriticInsensitive);
    m_operands[size_t(node.comparisonIndex)] = std::move(b);
}

Predicate::Bound Predicate::bind(const QVariant &value)
{
    Bound b;
    if (!value.isValid() || value.isNull()) {
        if (value.metaType().id() == QMetaType::QString) { // an empty QString() is still text
            b.kind = ValueKind::Text;
        }
        return b;
    }
    switch (value.metaType().id()) {
    case QMetaType::QDateTime:
        b.kind = ValueKind::Integer;
        b.integer = value.toDateTime().toMSecsSinceEpoch();
        break;
    case QMetaType::QDate:
        b.kind = ValueKind::Integer;
        b.integer = value.toDate().startOfDay().toMSecsSinceEpoch();
        break;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        b.kind = ValueKind::Integer;
        b.integer = value.toLongLong();
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        b.kind = ValueKind::Real;
        b.real = value.toDouble();
        break;
    default:
        if (value.canConvert<ManagedObject *>() && value.metaType() == QMetaType::fromType<ManagedObject *>()) {
            b.kind = ValueKind::Object;
            b.object = value.value<ManagedObject *>();
            if (!b.object)
                b.kind = ValueKind::None;
        } else {
            b.kind = ValueKind::Text;
            b.text = value.toString();
        }
    }
    return b;
}

const Predicate::Compiled &Predicate::compiledFor(const EntityDescription &entity) const
{
    if (m_compiled && m_compiled->entity == &entity)
        return *m_compiled;
    auto compiled = std::make_shared<Compiled>();
    compiled->entity = &entity;
    compiled->paths.resize(m_operands.size());
    std::vector<const PredicateNode *> stack{m_root.get()};
    while (!stack.empty()) {
        const PredicateNode *node = stack.back();
        stack.pop_back();
        for (const auto &child : node->children)
            stack.push_back(child.get());
        if (node->kind == PredicateNode::Kind::Comparison)
            compiled->paths[size_t(node->comparisonIndex)] = KeyPath::resolve(entity, node->keyPath);
    }
    m_compiled = std::move(compiled);
    return *m_compiled;
}

void Predicate::validate(const EntityDescription &entity) const
{
    if (m_root)
        compiledFor(entity);
}

bool Predicate::evaluate(const ManagedObject *object) const
{
    if (!m_root)
        return true;
    return object && evaluateRow(object->rowRef());
}

bool Predicate::evaluateRow(const RowRef &row) const
{
    if (!m_root)
        return true;
    return evaluateNode(*m_root, row, compiledFor(*row.table->entity));
}

bool Predicate::evaluateNode(const PredicateNode &node, const RowRef &row, const Compiled &compiled) const
{
    switch (node.kind) {
    case PredicateNode::Kind::True:
        return true;
    case PredicateNode::Kind::False:
        return false;
    case PredicateNode::Kind::Not:
        return !evaluateNode(*node.children.front(), row, compiled);
    case PredicateNode::Kind::And:
        for (const auto &child : node.children) {
            if (!evaluateNode(*child, row, compiled))
                return false;
        }
        return true;
    case PredicateNode::Kind::Or:
        for (const auto &child : node.children) {
            if (evaluateNode(*child, row, compiled))
                return true;
        }
        return false;
    case PredicateNode::Kind::Comparison:
        return evaluatePath(node, compiled.paths[size_t(node.comparisonIndex)], 0, &row);
    }
    return false;
}

bool Predicate::evaluatePath(const PredicateNode &node, const KeyPath &path, size_t step, const RowRef *row) const
{
    if (step == path.steps().size() || !row)
        return compare(node, path, row);
    const KeyPath::Step &s = path.steps()[step];
    if (!s.toMany) {
        const ManagedObject *next = row->one(s.relationship);
        if (!next)
            return compare(node, path, nullptr);
        const RowRef nextRow = next->rowRef();
        return evaluatePath(node, path, step + 1, &nextRow);
    }
    // Through a to-many relationship the comparison holds when it holds for any member.
    for (const ManagedObject *member : row->many(s.relationship)) {
        const RowRef memberRow = member->rowRef();
        if (evaluatePath(node, path, step + 1, &memberRow))
            return true;
    }
    return false;
}

bool Predicate::compare(const PredicateNode &node, const KeyPath &path, const RowRef *holder) const
{
    const Bound &right = m_operands[size_t(node.comparisonIndex)];
    const Op op = node.op;

    if (path.attribute() < 0) { // a to-one relationship compared by identity
        const ManagedObject *left = holder ? holder->one(path.finalRelationship()) : nullptr;
        if (!left || right.kind == ValueKind::None)
            return absentResult(op, !left, right.kind == ValueKind::None);
        if (right.kind != ValueKind::Object)
            return op == Op::NotEqual;
        return ordered(op, left, right.object) && (op == Op::Equal || op == Op::NotEqual);
    }

    const StoreValue *value = holder ? &holder->value(path.attribute()) : nullptr;
    const bool leftAbsent = !value || !value->isValid();
    if (leftAbsent || right.kind == ValueKind::None)
        return absentResult(op, leftAbsent, right.kind == ValueKind::None);

    switch (value->kind()) {
    case StoreValue::Kind::Integer: {
        const qint64 left = value->integer();
        if (right.kind == ValueKind::Integer)
            return ordered(op, left, right.integer);
        if (right.kind == ValueKind::Real)
            return ordered(op, double(left), right.real);
        break;
    }
    case StoreValue::Kind::Real: {
        const double left = value->real();
        if (right.kind == ValueKind::Integer)
            return ordered(op, left, double(right.integer));
        if (right.kind == ValueKind::Real)
            return ordered(op, left, right.real);
        break;
    }
    case StoreValue::Kind::Text: {
        if (right.kind != ValueKind::Text)
            break;
        const bool folding = node.caseInsensitive || node.diacriticInsensitive;
        QString scratch;
        QStringView left;
        if (!folding) {
            left = value->text();
        } else if (node.caseInsensitive && node.diacriticInsensitive) {
            left = holder->folded(path.attribute());
        } else {
            scratch = foldAs(value->text(), node.caseInsensitive,
                             node.diacriticInsensitive);
            left = scratch;
        }
        const QStringView r = folding ? QStringView(right.folded) : QStringView(right.text);
        switch (op) {
        case Op::Like: return globMatch(left, r);
        case Op::Contains: return !r.isEmpty() && left.contains(r);
        case Op::BeginsWith: return !r.isEmpty() && left.startsWith(r);
        case Op::EndsWith: return !r.isEmpty() && left.endsWith(r);
        default: return ordered(op, left.compare(r), 0);
        }
    }
    default:
        break;
    }
    // Values of different kinds are never equal and never ordered.
    return op == Op::NotEqual;
}
