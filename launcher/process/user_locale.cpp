#include "launcher/process/user_locale.h"

#include <QLocale>

namespace kovrin::process {

std::string UserDecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace kovrin::process
