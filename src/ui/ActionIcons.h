// The toolbar's five 16 x 16 icons, drawn by the program: 0 new, 1 read, 2 print,
// 3 save, 4 close.
#pragma once
#include <QIcon>

namespace halvern {

QIcon ActionIcon(int imageIndex);

} // namespace halvern
