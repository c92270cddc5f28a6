// The program's pictures and tool icons, drawn with plain GDI so that no
// image file ships with it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace ui::win32 {

// Draws ui::Image `image` centred in `box`, as large as fits with its
// proportions kept. The background is left as it is.
void drawImage(HDC dc, int image, const RECT& box);

// An image list of `size`-pixel icons, one per entry of `images`, with an
// alpha channel and a mask so it looks right with and without visual styles.
// The caller destroys it.
HIMAGELIST makeImageList(const std::vector<int>& images, int size);

}  // namespace ui::win32
