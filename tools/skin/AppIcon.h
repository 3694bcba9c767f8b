#pragma once

#include <QImage>

namespace veldrane {

// The application's icon at `size` × `size` pixels: the letter V in the accent blue on a dark
// rounded square. The tray, the main window and the desktop's menu show this one picture.
QImage DrawAppIcon(int size);

// The sizes installed under icons/hicolor/<size>x<size>/apps.
inline constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

} // namespace veldrane
