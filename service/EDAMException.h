#pragma once

#include <QString>
#include <QStringList>

#include <string>

// What the three service exceptions share: the name and the reason "unknown" they are made
// with, and their description, built field by field as Name(field:value,field:"text"). The
// description is also what() gives, in place of the generated text, which prints every field.
template <typename Derived, typename Generated>
class EDAMException : public Generated
{
public:
    static QString name() { return QString::fromLatin1(Derived::typeName); }
    static QString reason() { return QStringLiteral("unknown"); }
    QString description() const { return name() + u'(' + fields().join(u',') + u')'; }

    const char *what() const noexcept override
    {
        try {
            m_what = description().toStdString();
            return m_what.c_str();
        } catch (...) {
            return Derived::typeName;
        }
    }

protected:
    EDAMException() = default;
    explicit EDAMException(const Generated &received)
        : Generated(received)
    {
    }

    static QString quoted(const std::string &text) { return u'"' + QString::fromStdString(text) + u'"'; }

private:
    // The fields the description shows, each as "field:value", in their order.
    virtual QStringList fields() const = 0;

    mutable std::string m_what;
};
