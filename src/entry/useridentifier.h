#pragma once

#include <QString>

class Uninstall;

// The per-user identifier the feedback reports carry: read from the user's registry, or
// created and stored there on the first run.
QString readOrCreateUserId();
// Stores the identifier in the window and logs it.
void createUID(Uninstall* window);
