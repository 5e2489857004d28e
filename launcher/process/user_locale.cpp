#include "user_locale.h"

#include <QLocale>

std::string UserDecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }
