// Opening the launcher's secondary windows.
#pragma once

class QDialog;
class QWidget;

// Shows `window` without modality; it deletes itself when closed. While it
// exists the main window is disabled, and it is enabled again however the
// window closes. The window must have no parent: a child of the main window
// would be disabled along with it.
void ShowDisablingMainWindow(QDialog* window, QWidget* mainWindow);
