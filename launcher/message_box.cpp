#include "message_box.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<launcher::UnattendedMode> UnattendedMode() {
  if (const auto mode = launcher::UnattendedModeFromEnv(std::getenv("KOVRIN_MSGBOX"))) return mode;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
    return launcher::UnattendedMode::Default;
  }
  return std::nullopt;
}

launcher::BoxAnswer AnswerFrom(QMessageBox::StandardButton pressed, launcher::BoxButtons buttons) {
  if (buttons == launcher::BoxButtons::Ok) return launcher::BoxAnswer::Ok;
  return pressed == QMessageBox::Yes ? launcher::BoxAnswer::Yes : launcher::BoxAnswer::No;
}

}  // namespace

bool MessageBoxesUnattended() { return UnattendedMode().has_value(); }

launcher::BoxAnswer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                   QMessageBox::Icon icon, launcher::BoxButtons buttons,
                                   launcher::BoxAnswer defaultAnswer) {
  if (const auto mode = UnattendedMode()) {
    const launcher::BoxAnswer answer = launcher::UnattendedAnswer(*mode, buttons, defaultAnswer);
    const std::string line =
        launcher::UnattendedLine(caption.toStdString(), text.toStdString(), buttons, answer);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return answer;
  }
  const bool yesNo = buttons == launcher::BoxButtons::YesNo;
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(icon, caption, shown, yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                  parent);
  if (yesNo) {
    box.setDefaultButton(defaultAnswer == launcher::BoxAnswer::No ? QMessageBox::No : QMessageBox::Yes);
  }
  box.exec();
  return AnswerFrom(static_cast<QMessageBox::StandardButton>(box.standardButton(box.clickedButton())),
                    buttons);
}
