// the custom benchmark dialog.
#pragma once

class frmMain;

// Opens the custom benchmark dialog without modality; the main window is disabled while it
// is open.
void ShowCustomBench(frmMain* mainWindow);
