#include "removaltestsupport.h"

#include "testenvironment.h"

#include "ternlog.h"
#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonObject>

namespace RemovalTest {

QString makeProductNameUnique()
{
    const QString name = TernProductInfo::instance()->productName(QString()) + QStringLiteral(" ")
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
    QFile probe(probeDir + QStringLiteral("/probe"));
    const bool refused = !probe.open(QIODevice::WriteOnly);
    probe.close();
    QFile::setPermissions(probeDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(probeDir).removeRecursively();
    return refused;
}

} // namespace RemovalTest

ProcessCopies::ProcessCopies() = default;

ProcessCopies::~ProcessCopies()
{
    for (const std::unique_ptr<QProcess>& process : processes) {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
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
    process->setProgram(target);
    process->setArguments(arguments.isEmpty() ? QStringList { QStringLiteral("120") } : arguments);
    // The error output is kept for the test to show when the process ends unexpectedly.
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    process->start();
    if (!process->waitForStarted(10000))
        return nullptr;
    processes.push_back(std::move(process));
    return processes.back().get();
}
