#pragma once

#include <QString>
#include <QVariant>

// One attribute value of a stored object, in 16 bytes: absent, an integer (booleans and dates
// as milliseconds since 1970 UTC included), a real or a text. A store of tens of thousands of
// tasks keeps fourteen of these per task, and most are numbers: a QVariant would spend 32 bytes
// on each. A text lives on the heap behind the slot, so the numbers pay nothing for it.
class StoreValue
{
public:
    enum class Kind : quint8 { Absent, Integer, Real, Text };

    StoreValue() = default;
    explicit StoreValue(qint64 integer) : m_integer(integer), m_kind(Kind::Integer) {}
    explicit StoreValue(double real) : m_real(real), m_kind(Kind::Real) {}
    explicit StoreValue(const QString &text);
    // An invalid variant is absent; a string is a text, a double a real, anything else an integer.
    static StoreValue fromVariant(const QVariant &value);

    StoreValue(const StoreValue &other);
    StoreValue(StoreValue &&other) noexcept;
    StoreValue &operator=(const StoreValue &other);
    StoreValue &operator=(StoreValue &&other) noexcept;
    ~StoreValue() { release(); }

    Kind kind() const { return m_kind; }
    bool isValid() const { return m_kind != Kind::Absent; }
    // Only for a value of that kind.
    qint64 integer() const { return m_integer; }
    double real() const { return m_real; }
    const QString &text() const;

    // Conversions as QVariant makes them; absent gives 0 and a null string.
    qint64 toLongLong() const;
    QString toString() const;
    QVariant toVariant() const;

private:
    void release();

    union {
        qint64 m_integer = 0;
        double m_real;
        QString *m_text; // nullptr for an empty text, whose nullness m_nullText keeps
    };
    Kind m_kind = Kind::Absent;
    bool m_nullText = false;
};

static_assert(sizeof(StoreValue) == 16);
