// The splash window's pictures, drawn by the program: two logos and a small picture.
#pragma once
#include <QPixmap>

namespace halvern {

// A pressure gauge over a pipe: the program's logo.
QPixmap DrawGaugeLogo(const QSize& size);
// A pressure reducing valve between two pipes, with the flow arrow.
QPixmap DrawValveLogo(const QSize& size);
// A drop of water.
QPixmap DrawWaterDrop(const QSize& size);

} // namespace halvern
