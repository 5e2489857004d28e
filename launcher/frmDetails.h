// the result details.
#pragma once

class frmMain;

// Opens the result details without modality; the main window is disabled while it
// is open.
void ShowDetails(frmMain* mainWindow);
