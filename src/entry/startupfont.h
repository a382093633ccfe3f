#pragma once

#include <QFont>

// The application font the wizard runs with: the product's font family (with its English
// fall-back) at 10 points scaled by the interface zoom.
QFont startupFont(const QFont& applicationFont);
bool isFontFamilyInstalled(const QString& family);
int zoomedPointSize(double zoom, double baseZoom);
