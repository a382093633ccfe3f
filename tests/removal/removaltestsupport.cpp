#include "removaltestsupport.h"

#include "testenvironment.h"

#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonObject>

namespace RemovalTest {

QString makeProductNameUnique()
{
    const QString name = TernProductInfo::instance()->productName(QString()) + QLatin1Char(' ')
        + QString::number(QCoreApplication::applicationPid());
    TestEnv::updateProduct(QJsonObject { { QStringLiteral("name"), name } });
    return TernProductInfo::instance()->productName(QString());
}

void openLog()
{
    TestEnv::useWizardLog();
}

bool permissionsEnforced(const QString& scratchDir)
{
    const QString probeDir = scratchDir + QStringLiteral("/permission-probe");
    QDir().mkpath(probeDir);
    QFile::setPermissions(probeDir, QFile::ReadOwner | QFile::ExeOwner);
    const bool refused = !QFile(probeDir + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    QFile::setPermissions(probeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(probeDir).removeRecursively();
    return refused;
}

} // namespace RemovalTest

ProcessCopies::~ProcessCopies()
{
    for (const std::unique_ptr<QProcess>& process : processes) {
        process->kill();
        process->waitForFinished(5000);
    }
    for (const QString& copy : qAsConst(extraCopies))
        QFile::remove(copy);
}

QProcess* ProcessCopies::start(const QString& fileName, const QString& program,
    const QStringList& arguments, const QString& folder)
{
    const QString target = (folder.isEmpty() ? dir.path() : folder) + QLatin1Char('/') + fileName;
    if (!QFile::exists(target)) {
        if (!QFile::copy(program.isEmpty() ? QStringLiteral("/bin/sleep") : program, target))
            return nullptr;
        if (!folder.isEmpty())
            extraCopies.append(target);
    }
    auto process = std::make_unique<QProcess>();
    // The error output is kept for the test to show when the process ends unexpectedly.
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->start(target, arguments.isEmpty() ? QStringList { QStringLiteral("120") } : arguments);
    if (!process->waitForStarted(10000))
        return nullptr;
    processes.push_back(std::move(process));
    return processes.back().get();
}
