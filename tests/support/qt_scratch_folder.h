// The scratch folder as Qt tests use it: paths as QString.
#pragma once

#include <QString>

#include "tests/support/scratch_folder.h"

namespace kovrin::test {

class QtScratchFolder : public ScratchFolder {
 public:
  bool isValid() const { return !Path().empty(); }
  QString path() const { return QString::fromStdString(String()); }
  QString filePath(const QString& name) const { return path() + QLatin1Char('/') + name; }
};

}  // namespace kovrin::test
