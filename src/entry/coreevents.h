#pragma once

#include <QString>

// Core events of the telemetry library, loaded at run time from the host program's folder,
// and their once-per-product-version variants.
namespace CoreEvents {

// Calls the library's CEIPGCoreEvent; does nothing when the library or its entry is missing.
void send(const char* channel, const char* event);
// Whether this product version has not sent the event yet; marks it as sent.
bool isFirstTime(const QString& channel, const QString& event);
// The path the library is loaded from: the host executable's folder and the library's file name.
QString libraryPath();

void sendStartEvent();
void sendStopEvent();

} // namespace CoreEvents
