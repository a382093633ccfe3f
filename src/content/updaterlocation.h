#pragma once

#include <QString>

// Where the downloaded updater lies: the data location's "updater" folder, under the product's
// executable name. The update offer starts this file.
QString updaterPath();
