#include "service/EDAMUserException.h"

EDAMUserException::EDAMUserException(int32_t errorCode, const std::string &parameter)
{
    __set_errorCode(errorCode);
    __set_parameter(parameter);
}

EDAMUserException::EDAMUserException(const edam::EDAMUserException &received)
    : edam::EDAMUserException(received)
{
}

QString EDAMUserException::description() const
{
    return QStringLiteral("EDAMUserException(errorCode:%1,parameter:\"%2\")")
        .arg(errorCode)
        .arg(QString::fromStdString(parameter));
}

const char *EDAMUserException::what() const noexcept
{
    try {
        m_what = description().toStdString();
        return m_what.c_str();
    } catch (...) {
        return "EDAMUserException";
    }
}
