#include "entry/uninstalloptions.h"

#include <QFile>

#include <cstring>

UninstallOptions UninstallOptions::parse(int argc, char** argv)
{
    UninstallOptions options;
    if (argc < 2 || !argv[1] || std::strcmp(argv[1], "-start_uninstall") != 0)
        return options;
    const QString result = QStringLiteral("-result=");
    for (int i = 2; i < argc; ++i) {
        const QString argument = argv[i] ? QFile::decodeName(argv[i]) : QString();
        if (argument == QLatin1String("-silent"))
            options.silent = true;
        else if (argument == QLatin1String("-close-applications"))
            options.closeApplications = true;
        else if (argument.startsWith(result) && argument.size() > result.size())
            options.resultFile = argument.mid(result.size());
        else
            options.unknown.append(argument);
    }
    return options;
}
