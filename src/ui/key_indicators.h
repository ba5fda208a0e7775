#pragma once
// The device's four keys on the monitor: the heading "Bedientaste 4 3 2 1"
// with an indicator under each key number, lit red while the key is held.
// The heading's spacing sets where the indicators sit.

#include "model/frm_config.h"

#include <QWidget>

#include <array>

class QLabel;

namespace rbx14 {

class KeyIndicators final : public QWidget {
 public:
  KeyIndicators(FrmConfig& form, QWidget* parent);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeIndicators();
  // Where the number of key `indicator` (Lbl_button(0) is key 4) stands in
  // the heading, as the centre's x position; -1 when it does not.
  int keyCentre(int indicator) const;

  QLabel* heading_;
  std::array<QLabel*, 4> indicators_{};
};

}  // namespace rbx14
