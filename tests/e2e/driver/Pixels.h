// What a window shows on the screen, as pixels and as a screenshot file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Layout.h"

namespace e2e {

// What a window shows on the screen once its painting has settled: 32-bit
// BGRX pixels, top row first.
struct Shot {
    Box box;  // where on the screen
    std::vector<std::uint32_t> px;
    // The colour (0xRRGGBB) at a point on the screen; 0 outside the shot.
    std::uint32_t at(int screenX, int screenY) const;
};
Shot shoot(const Window& w);
// Saves that picture as a 24-bit BMP file. The folder must exist.
void saveScreenshot(const Window& w, const std::string& path);
// The folder QM_SHOTS_DIR names (a Windows or a Unix path), made if need
// be; "" when the variable is unset.
std::string shotsFolder();

}  // namespace e2e
