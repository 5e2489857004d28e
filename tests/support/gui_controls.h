// Finding a window's controls by their object names in Qt tests.
#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

namespace kovrin::test {

// The child of `window` named `name`; a missing control ends the test
// program at once, since every later step would act on nothing.
template <typename T>
T* Control(const QObject* window, const char* name) {
  T* control = window->findChild<T*>(QLatin1String(name));
  if (control == nullptr) qFatal("control %s missing", name);
  return control;
}

}  // namespace kovrin::test
