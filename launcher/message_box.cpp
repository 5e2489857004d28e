#include "launcher/message_box.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace kovrin::gui {

namespace {

std::optional<kovrin::unattended::Mode> UnattendedMode() {
  if (const auto mode = kovrin::unattended::ModeFromEnv(std::getenv("KOVRIN_MSGBOX"))) return mode;
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
    return kovrin::unattended::Mode::Default;
  }
  return std::nullopt;
}

kovrin::unattended::Answer AnswerFrom(QMessageBox::StandardButton pressed, kovrin::unattended::Buttons buttons) {
  if (buttons == kovrin::unattended::Buttons::Ok) return kovrin::unattended::Answer::Ok;
  return pressed == QMessageBox::Yes ? kovrin::unattended::Answer::Yes : kovrin::unattended::Answer::No;
}

}  // namespace

bool MessageBoxesUnattended() { return UnattendedMode().has_value(); }

kovrin::unattended::Answer ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                          QMessageBox::Icon icon, kovrin::unattended::Buttons buttons,
                                          kovrin::unattended::Answer defaultAnswer) {
  if (const auto mode = UnattendedMode()) {
    const kovrin::unattended::Answer answer = kovrin::unattended::AnswerFor(*mode, buttons, defaultAnswer);
    const std::string line = kovrin::unattended::Line(caption.toStdString(), text.toStdString(), buttons, answer);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return answer;
  }
  const bool yesNo = buttons == kovrin::unattended::Buttons::YesNo;
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  QMessageBox box(icon, caption, shown, yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
  if (yesNo) {
    box.setDefaultButton(defaultAnswer == kovrin::unattended::Answer::No ? QMessageBox::No : QMessageBox::Yes);
  }
  box.exec();
  return AnswerFrom(static_cast<QMessageBox::StandardButton>(box.standardButton(box.clickedButton())), buttons);
}

}  // namespace kovrin::gui
