// The launcher's message boxes.
#pragma once

#include <QMessageBox>
#include <QString>

#include "platform/unattended_box.h"

class QWidget;

namespace kovrin::gui {

// A modal box with the launcher's buttons. With KOVRIN_MSGBOX set, or on a
// platform that cannot show a dialog to anyone (offscreen, minimal), nothing
// is shown: the box is written as one "[msgbox]" line on stderr and answered
// at once, so an unattended launcher never waits for a click.
kovrin::unattended::Answer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                          QMessageBox::Icon icon, kovrin::unattended::Buttons buttons,
                                          kovrin::unattended::Answer defaultAnswer);

// True when boxes are answered without being shown.
bool MessageBoxesUnattended();

}  // namespace kovrin::gui
