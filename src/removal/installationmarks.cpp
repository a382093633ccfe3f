#include "removal/installationmarks.h"

#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const char kDescriptionFile[] = "product.json";
// A description is a few hundred bytes; anything far larger is not one.
const qint64 kDescriptionLimit = 1024 * 1024;

// The product name a description file gives; empty when it is no such file.
QString describedProduct(const QString& path)
{
    const QFileInfo info(path);
    // Only a regular file of its own: a link or a pipe could stand for anything.
    if (info.isSymLink() || !info.isFile() || info.size() > kDescriptionLimit)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.read(kDescriptionLimit))
        .object()
        .value(QStringLiteral("name"))
        .toString();
}

} // namespace

InstallationMarks InstallationMarks::current()
{
    return { QCoreApplication::applicationFilePath(),
        TernProductInfo::instance()->productName(QString()) };
}

QString InstallationMarks::missingIn(const QString& folder) const
{
    const QFileInfo host(hostExecutable);
    if (hostExecutable.isEmpty() || !host.isFile()
        || QFileInfo(host.canonicalFilePath()).absolutePath() != folder)
        return QStringLiteral("it does not hold the executable that hosts the uninstaller");
    const QString described
        = describedProduct(folder + QLatin1Char('/') + QLatin1String(kDescriptionFile));
    if (productName.isEmpty() || described != productName)
        return QStringLiteral("its product description does not name %1").arg(productName);
    return {};
}
