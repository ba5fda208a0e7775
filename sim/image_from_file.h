#pragma once
// Fills a device's image from a parameter file, so that a simulated unit can
// start with the configuration a technician saved: registers 2 to 60 (0 and
// 1 are the device's own coding and firmware), the configuration bits, the
// display texts and the units. The file is read with the program's own
// reader; a line the program would not load leaves its register as it was.

#include "sim/device_image.h"

#include <QString>
#include <QStringList>

namespace rbx14::sim {

// Applies the lines of a parameter file; numbers may use "," or ".".
void ApplyParameterFileToImage(const QStringList& lines, DeviceImage& image);

}  // namespace rbx14::sim
