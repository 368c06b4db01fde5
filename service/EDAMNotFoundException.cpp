#include "service/EDAMNotFoundException.h"

EDAMNotFoundException::EDAMNotFoundException(const std::string &identifier, const std::string &key)
{
    __set_identifier(identifier);
    __set_key(key);
}

EDAMNotFoundException::EDAMNotFoundException(const edam::EDAMNotFoundException &received)
    : edam::EDAMNotFoundException(received)
{
}

QString EDAMNotFoundException::description() const
{
    return QStringLiteral("EDAMNotFoundException(identifier:\"%1\",key:\"%2\")")
        .arg(QString::fromStdString(identifier), QString::fromStdString(key));
}

const char *EDAMNotFoundException::what() const noexcept
{
    try {
        m_what = description().toStdString();
        return m_what.c_str();
    } catch (...) {
        return "EDAMNotFoundException";
    }
}
