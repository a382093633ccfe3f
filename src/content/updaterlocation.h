#pragma once

#include <QString>

// Where the updater is downloaded to and started from: the data location's "updater" folder
// and the product's executable name.
QString updaterDirectory();
QString updaterPath();
