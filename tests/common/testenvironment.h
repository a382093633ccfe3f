#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// What a test sees of the sandbox installation it runs in (scripts/sandbox-run.sh).
namespace TestEnv {

// The installation folder: the folder of the running test executable.
QString installDir();
// The sandbox root that holds the installation, the home folder and the temporary folder.
QString sandboxRoot();
QString resourceRoot();
QString dataLocation();

// Rewrites product.json with the given top-level members and extended parameters merged in,
// and makes the framework read it again.
void updateProduct(const QJsonObject& members, const QJsonObject& extendParams = {});
// The same for the product description of another installation; false when it cannot be written.
bool mergeIntoProduct(
    const QString& productFile, const QJsonObject& members, const QJsonObject& extendParams = {});
void setExtendParam(const QString& name, const QString& value);

// Analytics events the framework stand-in recorded, oldest first.
QList<QJsonObject> analyticsEvents();
void clearAnalyticsEvents();
// The messages of the wizard's log lines (the part after the level); by default the log of this
// process's product, else the one in the data folder given.
QStringList logMessages(const QString& channel = QString(), const QString& dataFolder = QString());
void clearLog();
// What the list of leftovers of the last removal names, as "<reason> <file name>"; by default
// the list of this process's product, else the one in the data folder given.
QStringList leftovers(const QString& dataFolder = QString());
// Sends the logging library's lines to that file, as main_entry does.
void useWizardLog();

// The wait scale a test gives the product: `fast`, times UNINSTALL_TEST_SLOWDOWN where a build
// runs everything slower (the sanitized one), so that the waits keep their room.
double waitScale(double fast);
// The same as an environment entry for a child run.
QString waitScaleSetting(double fast);

// Writes data to path, creating the folders on the way; false on failure.
bool writeFile(const QString& path, const QByteArray& data);

// Nests `depth` directories called `name` below root, with a file "bottom.txt" in the last.
bool makeDeepTree(const QString& root, int depth, const char* name = "level");

} // namespace TestEnv

// A Qt Test main that brings the framework up first, as the host does.
#define UNINSTALL_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnv_initFramework(argc, argv);                                                         \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

void TestEnv_initFramework(int& argc, char** argv);
