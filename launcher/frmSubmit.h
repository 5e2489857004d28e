// the result submission window.
#pragma once

class frmMain;

// Opens the result submission window without modality; the main window is disabled while it
// is open.
void ShowSubmit(frmMain* mainWindow);
