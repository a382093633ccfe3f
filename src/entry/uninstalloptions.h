#pragma once

#include <QString>
#include <QStringList>

// The options an administrator may give after "-start_uninstall".
struct UninstallOptions {
    bool silent = false; // no window at all
    bool closeApplications = false; // end running copies of the product instead of stopping
    QString resultFile; // where the outcome goes as JSON; empty for none
    QStringList unknown; // what was given but is no option

    // Reads the arguments after the first, when the first is the start switch.
    static UninstallOptions parse(int argc, char** argv);
};
