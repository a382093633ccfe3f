#pragma once

// Set whenever the wizard ends without the removal having gone ahead; main_entry turns it into
// the exit code. Written and read on the GUI thread only.
extern bool uninstallAborted;
