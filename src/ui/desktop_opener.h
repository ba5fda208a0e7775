#pragma once
// Opens files and addresses with the desktop's associated program.

#include "shell/document_opener.h"

namespace rbx14 {

class DesktopOpener final : public DocumentOpener {
 public:
  bool open(const QString& target) override;
};

}  // namespace rbx14
