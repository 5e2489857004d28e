#include "message_box.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<unattended::Mode> UnattendedMode() {
  if (const auto mode = unattended::ModeFromEnv(std::getenv("KOVRIN_MSGBOX"))) return mode;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
    return unattended::Mode::Default;
  }
  return std::nullopt;
}

unattended::Answer AnswerFrom(QMessageBox::StandardButton pressed, unattended::Buttons buttons) {
  if (buttons == unattended::Buttons::Ok) return unattended::Answer::Ok;
  return pressed == QMessageBox::Yes ? unattended::Answer::Yes : unattended::Answer::No;
}

}  // namespace

bool MessageBoxesUnattended() { return UnattendedMode().has_value(); }

unattended::Answer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                   QMessageBox::Icon icon, unattended::Buttons buttons,
                                   unattended::Answer defaultAnswer) {
  if (const auto mode = UnattendedMode()) {
    const unattended::Answer answer = unattended::AnswerFor(*mode, buttons, defaultAnswer);
    const std::string line =
        unattended::Line(caption.toStdString(), text.toStdString(), buttons, answer);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return answer;
  }
  const bool yesNo = buttons == unattended::Buttons::YesNo;
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(icon, caption, shown, yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok,
                  parent);
  if (yesNo) {
    box.setDefaultButton(defaultAnswer == unattended::Answer::No ? QMessageBox::No : QMessageBox::Yes);
  }
  box.exec();
  return AnswerFrom(static_cast<QMessageBox::StandardButton>(box.standardButton(box.clickedButton())),
                    buttons);
}
