#include "service/EDAMSystemException.h"

EDAMSystemException::EDAMSystemException(int32_t errorCode, const std::string &message)
{
    __set_errorCode(errorCode);
    __set_message(message);
}

EDAMSystemException::EDAMSystemException(const edam::EDAMSystemException &received)
    : edam::EDAMSystemException(received)
{
}

QString EDAMSystemException::description() const
{
    QString text = QStringLiteral("EDAMSystemException(errorCode:%1,message:\"%2\"")
                       .arg(errorCode)
                       .arg(QString::fromStdString(message));
    if (__isset.rateLimitDuration)
        text += QStringLiteral(",rateLimitDuration:%1").arg(rateLimitDuration);
    return text + QLatin1Char(')');
}

const char *EDAMSystemException::what() const noexcept
{
    try {
        m_what = description().toStdString();
        return m_what.c_str();
    } catch (...) {
        return "EDAMSystemException";
    }
}
