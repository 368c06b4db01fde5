#include "content/ContentTemplate.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace {
const QString resourcePath = QStringLiteral(":/contentModel.txt");

QMutex &pathMutex()
{
    static QMutex mutex;
    return mutex;
}
QString &pathOverride()
{
    static QString path;
    return path;
}
} // namespace

std::optional<QString> ContentTemplate::read()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

QString ContentTemplate::path()
{
    QMutexLocker lock(&pathMutex());
    return pathOverride().isEmpty() ? resourcePath : pathOverride();
}

void ContentTemplate::setPath(const QString &path)
{
    QMutexLocker lock(&pathMutex());
    pathOverride() = path;
}
