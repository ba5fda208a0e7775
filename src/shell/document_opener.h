#pragma once
// Opens a document, a web address or a mail address with the program the
// desktop associates with it. Behind an interface so that tests see what
// would be opened.

#include <QString>

namespace rbx14 {

class DocumentOpener {
 public:
  virtual ~DocumentOpener() = default;
  // A local file path or a URL ("https://...", "mailto:..."). Returns
  // whether the desktop took it; callers ignore failure.
  virtual bool open(const QString& target) = 0;
};

// The help document's path in the platform's form: the stored path uses
// backslashes, which become slashes where the platform wants them.
QString PlatformPath(const QString& storedPath);

}  // namespace rbx14
