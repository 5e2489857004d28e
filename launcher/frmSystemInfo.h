// The system information window: a report of the machine's display adapters.
#pragma once

#include <functional>
#include <memory>

class QWidget;
namespace kovrin::sysinfo {
class Provider;
}

// Opens the system information window without modality and builds its report,
// or brings the open one to the front without building again. The main window
// stays usable. A platform failure while building is not handled here: it
// leaves the lines so far in the window and reaches the caller as
// launcher::UntrappedError with the platform's error number.
void ShowSystemInfo(QWidget* mainWindow);

// Where each new window gets its report from: the machine's own graphics
// interfaces unless a test puts something else in (an empty function restores
// them).
using SystemInfoProviderFactory = std::function<std::unique_ptr<kovrin::sysinfo::Provider>()>;
void SetSystemInfoProviderFactory(SystemInfoProviderFactory factory);
