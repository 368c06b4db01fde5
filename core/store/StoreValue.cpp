#include "core/store/StoreValue.h"

#include <utility>

StoreValue::StoreValue(const QString &text)
    : m_text(text.isEmpty() ? nullptr : new QString(text))
    , m_kind(Kind::Text)
    , m_nullText(text.isNull())
{
}

StoreValue StoreValue::fromVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::QString:
        return StoreValue(value.toString());
    case QMetaType::Double:
    case QMetaType::Float:
        return StoreValue(value.toDouble());
    default:
        return StoreValue(qint64(value.toLongLong()));
    }
}

StoreValue::StoreValue(const StoreValue &other)
    : m_integer(other.m_integer)
    , m_kind(other.m_kind)
    , m_nullText(other.m_nullText)
{
    if (m_kind == Kind::Text && other.m_text)
        m_text = new QString(*other.m_text);
}

StoreValue::StoreValue(StoreValue &&other) noexcept
    : m_integer(other.m_integer)
    , m_kind(std::exchange(other.m_kind, Kind::Absent))
    , m_nullText(other.m_nullText)
{
}

StoreValue &StoreValue::operator=(const StoreValue &other)
{
    if (this != &other)
        *this = StoreValue(other);
    return *this;
}

StoreValue &StoreValue::operator=(StoreValue &&other) noexcept
{
    if (this != &other) {
        release();
        m_integer = other.m_integer;
        m_kind = std::exchange(other.m_kind, Kind::Absent);
        m_nullText = other.m_nullText;
    }
    return *this;
}

void StoreValue::release()
{
    if (m_kind == Kind::Text)
        delete m_text;
    m_kind = Kind::Absent;
}

const QString &StoreValue::text() const
{
    static const QString null;
    static const QString empty = QStringLiteral("");
    if (m_text)
        return *m_text;
    return m_nullText ? null : empty;
}

qint64 StoreValue::toLongLong() const
{
    switch (m_kind) {
    case Kind::Integer: return m_integer;
    case Kind::Real: return qint64(m_real);
    case Kind::Text: return text().toLongLong();
    case Kind::Absent: break;
    }
    return 0;
}

QString StoreValue::toString() const
{
    switch (m_kind) {
    case Kind::Integer: return QString::number(m_integer);
    case Kind::Real: return QVariant(m_real).toString();
    case Kind::Text: return text();
    case Kind::Absent: break;
    }
    return {};
}

QVariant StoreValue::toVariant() const
{
    switch (m_kind) {
    case Kind::Integer: return QVariant(qlonglong(m_integer));
    case Kind::Real: return QVariant(m_real);
    case Kind::Text: return QVariant(text());
    case Kind::Absent: break;
    }
    return {};
}
