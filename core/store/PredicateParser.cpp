#include "core/store/PredicateParser.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <stdexcept>

namespace {
class Parser
{
public:
    explicit Parser(const QString &format)
        : m_text(format)
    {
    }

    PredicateParser::Parsed run()
    {
        auto root = parseOr();
        skipSpace();
        if (m_pos != m_text.size())
            fail(QStringLiteral("unexpected text"));
        return {std::shared_ptr<const PredicateNode>(std::move(root)), m_arguments, m_comparisons};
    }

private:
    [[noreturn]] void fail(const QString &why) const
    {
        throw std::invalid_argument(
            QStringLiteral("malformed predicate \"%1\" at %2: %3").arg(m_text).arg(m_pos).arg(why).toStdString());
    }

    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool atSymbol(QStringView symbol)
    {
        skipSpace();
        if (QStringView(m_text).mid(m_pos).startsWith(symbol)) {
            m_pos += symbol.size();
            return true;
        }
        return false;
    }

    bool atNegation()
    {
        skipSpace();
        if (m_pos + 1 < m_text.size() && m_text.at(m_pos) == u'!' && m_text.at(m_pos + 1) != u'=') {
            ++m_pos;
            return true;
        }
        return false;
    }

    static bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; }

    // A keyword matches case-insensitively and only as a whole word.
    bool atKeyword(QStringView word)
    {
        skipSpace();
        const QStringView rest = QStringView(m_text).mid(m_pos);
        if (!rest.startsWith(word, Qt::CaseInsensitive))
            return false;
        if (rest.size() > word.size() && isWordChar(rest.at(word.size())))
            return false;
        m_pos += word.size();
        return true;
    }

    std::unique_ptr<PredicateNode> combine(PredicateNode::Kind kind, std::unique_ptr<PredicateNode> left,
                                           std::unique_ptr<PredicateNode> right)
    {
        if (left->kind == kind) {
            left->children.push_back(std::move(right));
            return left;
        }
        auto node = std::make_unique<PredicateNode>();
        node->kind = kind;
        node->children.push_back(std::move(left));
        node->children.push_back(std::move(right));
        return node;
    }

    std::unique_ptr<PredicateNode> parseOr()
    {
        auto left = parseAnd();
        while (atKeyword(u"OR") || atSymbol(u"||"))
            left = combine(PredicateNode::Kind::Or, std::move(left), parseAnd());
        return left;
    }

    std::unique_ptr<PredicateNode> parseAnd()
    {
        auto left = parseUnary();
        while (atKeyword(u"AND") || atSymbol(u"&&"))
            left = combine(PredicateNode::Kind::And, std::move(left), parseUnary());
        return left;
    }

    std::unique_ptr<PredicateNode> parseUnary()
    {
        if (atKeyword(u"NOT") || atNegation()) {
            auto node = std::make_unique<PredicateNode>();
            node->kind = PredicateNode::Kind::Not;
            node->children.push_back(parseUnary());
            return node;
        }
        if (atSymbol(u"(")) {
            auto inner = parseOr();
            if (!atSymbol(u")"))
                fail(QStringLiteral("expected )"));
            return inner;
        }
        if (atKeyword(u"TRUEPREDICATE")) {
            auto node = std::make_unique<PredicateNode>();
            node->kind = PredicateNode::Kind::True;
            return node;
        }
        if (atKeyword(u"FALSEPREDICATE")) {
            auto node = std::make_unique<PredicateNode>();
            node->kind = PredicateNode::Kind::False;
            return node;
        }
        return parseComparison();
    }

    QString parseKeyPath()
    {
        skipSpace();
        const qsizetype start = m_pos;
        if (m_pos < m_text.size() && (m_text.at(m_pos).isLetter() || m_text.at(m_pos) == u'_')) {
            while (m_pos < m_text.size() && isWordChar(m_text.at(m_pos)))
                ++m_pos;
        }
        if (m_pos == start)
            fail(QStringLiteral("expected a key path"));
        const QString path = m_text.mid(start, m_pos - start);
        if (path.endsWith(u'.') || path.contains(QStringLiteral("..")))
            fail(QStringLiteral("bad key path"));
        return path;
    }

    void parseOperator(PredicateNode &node)
    {
        using Op = PredicateNode::Operator;
        static const std::pair<QStringView, Op> symbols[] = {
            {u"==", Op::Equal},        {u"!=", Op::NotEqual}, {u"<>", Op::NotEqual}, {u"<=", Op::LessEqual},
            {u"=<", Op::LessEqual},    {u">=", Op::GreaterEqual}, {u"=>", Op::GreaterEqual},
            {u"<", Op::Less},          {u">", Op::Greater},   {u"=", Op::Equal},
        };
        for (const auto &[symbol, op] : symbols) {
            if (atSymbol(symbol)) {
                node.op = op;
                return;
            }
        }
        static const std::pair<QStringView, Op> words[] = {
            {u"like", Op::Like}, {u"contains", Op::Contains}, {u"beginswith", Op::BeginsWith}, {u"endswith", Op::EndsWith},
        };
        for (const auto &[word, op] : words) {
            if (atKeyword(word)) {
                node.op = op;
                if (m_pos < m_text.size() && m_text.at(m_pos) == u'[') {
                    const qsizetype close = m_text.indexOf(u']', m_pos);
                    if (close < 0)
                        fail(QStringLiteral("unclosed option"));
                    for (QChar c : QStringView(m_text).mid(m_pos + 1, close - m_pos - 1)) {
                        if (c == u'c')
                            node.caseInsensitive = true;
                        else if (c == u'd')
                            node.diacriticInsensitive = true;
                        else
                            fail(QStringLiteral("unknown option"));
                    }
                    m_pos = close + 1;
                }
                return;
            }
        }
        fail(QStringLiteral("expected an operator"));
    }

    void parseValue(PredicateNode &node)
    {
        skipSpace();
        if (atSymbol(u"%@")) {
            node.operand = PredicateNode::Operand::Argument;
            node.argumentIndex = m_arguments++;
            return;
        }
        node.operand = PredicateNode::Operand::Literal;
        if (m_pos < m_text.size() && (m_text.at(m_pos) == u'"' || m_text.at(m_pos) == u'\'')) {
            const QChar quote = m_text.at(m_pos++);
            QString value;
            while (m_pos < m_text.size() && m_text.at(m_pos) != quote) {
                if (m_text.at(m_pos) == u'\\' && m_pos + 1 < m_text.size())
                    ++m_pos;
                value += m_text.at(m_pos++);
            }
            if (m_pos >= m_text.size())
                fail(QStringLiteral("unterminated string"));
            ++m_pos;
            node.literal = value;
            return;
        }
        if (atKeyword(u"nil") || atKeyword(u"NULL")) {
            node.literal = QVariant();
            return;
        }
        if (atKeyword(u"YES") || atKeyword(u"TRUE")) {
            node.literal = qlonglong(1);
            return;
        }
        if (atKeyword(u"NO") || atKeyword(u"FALSE")) {
            node.literal = qlonglong(0);
            return;
        }
        const qsizetype start = m_pos;
        if (m_pos < m_text.size() && (m_text.at(m_pos) == u'-' || m_text.at(m_pos) == u'+'))
            ++m_pos;
        while (m_pos < m_text.size() && (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == u'.'))
            ++m_pos;
        const QString number = m_text.mid(start, m_pos - start);
        bool ok = false;
        const qlonglong integer = number.toLongLong(&ok);
        if (ok) {
            node.literal = integer;
            return;
        }
        const double real = number.toDouble(&ok);
        if (!ok)
            fail(QStringLiteral("expected a value"));
        node.literal = real;
    }

    std::unique_ptr<PredicateNode> parseComparison()
    {
        auto node = std::make_unique<PredicateNode>();
        node->kind = PredicateNode::Kind::Comparison;
        node->any = atKeyword(u"ANY");
        node->keyPath = parseKeyPath();
        parseOperator(*node);
        parseValue(*node);
        node->comparisonIndex = m_comparisons++;
        return node;
    }

    const QString &m_text;
    qsizetype m_pos = 0;
    int m_arguments = 0;
    int m_comparisons = 0;
};
} // namespace

PredicateParser::Parsed PredicateParser::parse(const QString &format)
{
    return Parser(format).run();
}

PredicateParser::Parsed PredicateParser::cached(const QString &format)
{
    static QMutex mutex;
    static QHash<QString, Parsed> cache;
    {
        QMutexLocker lock(&mutex);
        auto it = cache.constFind(format);
        if (it != cache.constEnd())
            return *it;
    }
    Parsed parsed = parse(format);
    QMutexLocker lock(&mutex);
    cache.insert(format, parsed);
    return parsed;
}
