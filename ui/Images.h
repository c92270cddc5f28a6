// The drawings a Picture or an image list can show; ui/win32 draws them.
#pragma once

namespace ui {

enum Image : int {
    IMG_NONE = 0,
    // speaker pictures of the A3D type
    IMG_HEADPHONES, IMG_SATELLITE, IMG_MONITOR, IMG_QUAD,
    // decorative pictures of the tabs and dialogs
    IMG_CARD, IMG_A3D_LOGO, IMG_MIDI, IMG_EQUALIZER, IMG_CHIP, IMG_INFO,
    // the tools list icons
    ICON_VOLUME, ICON_RECORDER, ICON_MEDIA, ICON_MIXER, ICON_MULTIMEDIA, ICON_GAME, ICON_DXDIAG,
    IMG_COUNT
};

}  // namespace ui
