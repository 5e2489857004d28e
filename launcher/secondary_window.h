// The secondary windows that keep the main window disabled while they are
// open: the custom benchmark dialog, the result details and the submission
// window. The rule lives here once; the windows add what they load and what
// they clean up.
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

namespace kovrin::gui {

class SecondaryWindow : public QDialog {
  Q_OBJECT

 public:
  ~SecondaryWindow() override;

  // Opens a `Window` for `mainWindow` without modality: the main window is
  // disabled, the window loads and is shown, and it deletes itself when
  // closed. An error while loading escapes to the caller, the window gone and
  // the main window enabled again.
  template <typename Window, typename Main>
  static Window* Open(Main* mainWindow) {
    auto window = std::make_unique<Window>(mainWindow);
    static_cast<SecondaryWindow*>(window.get())->Load();
    return window.release();
  }

  // Every way the window goes (the close box, Esc, Cancel, accept) passes
  // here, while the window is still whole.
  void done(int result) override;

 protected:
  // No parent: a child of the main window would be disabled along with it.
  // The main window may go first; the window then has nothing to enable.
  explicit SecondaryWindow(QWidget* mainWindow);

  // Window load. The main window is disabled before it runs.
  virtual void Form_Load() = 0;

  // Window unload: enables the main window again. Runs once, however the
  // window goes. An override calls this one, and calls Unload() first thing
  // in its own destructor: once this class's destructor runs, the override
  // can no longer be reached and only the main window would be enabled.
  virtual void Form_Unload();

  // Runs Form_Unload unless it has run.
  void Unload();

  // The main window, or null once it has gone.
  template <typename Main>
  Main* MainWindow() const {
    return qobject_cast<Main*>(main_.data());
  }

 private:
  void Load();

  QPointer<QWidget> main_;
  bool unloaded_ = false;
};

}  // namespace kovrin::gui
