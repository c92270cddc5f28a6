#include "ui/win32/Drawings.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "ui/Images.h"

namespace ui::win32 {

namespace {

constexpr COLORREF kNone = 0xFFFFFFFFu;
constexpr COLORREF kKey = RGB(255, 0, 255);  // transparent in the icons

constexpr COLORREF kBlack = RGB(24, 24, 24);
constexpr COLORREF kDark = RGB(64, 64, 70);
constexpr COLORREF kMid = RGB(120, 122, 130);
constexpr COLORREF kLight = RGB(196, 198, 204);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(36, 92, 196);
constexpr COLORREF kSky = RGB(110, 170, 240);
constexpr COLORREF kRed = RGB(200, 40, 40);
constexpr COLORREF kOrange = RGB(240, 140, 30);
constexpr COLORREF kGreen = RGB(40, 140, 70);
constexpr COLORREF kGold = RGB(214, 170, 60);
constexpr COLORREF kWood = RGB(150, 96, 52);
constexpr COLORREF kSkin = RGB(238, 196, 160);

// A drawing surface of w x h units mapped, proportions kept, into the middle
// of a box. Pens are in units too, so the drawings scale as a whole.
class Canvas {
public:
    Canvas(HDC dc, const RECT& box, int w, int h) : dc_(dc) {
        saved_ = SaveDC(dc_);
        const int bw = box.right - box.left, bh = box.bottom - box.top;
        int vw = bw, vh = MulDiv(bw, h, w);
        if (vh > bh) {
            vh = bh;
            vw = MulDiv(bh, w, h);
        }
        SetMapMode(dc_, MM_ANISOTROPIC);
        SetWindowExtEx(dc_, w, h, nullptr);
        SetViewportExtEx(dc_, vw, vh, nullptr);
        SetViewportOrgEx(dc_, box.left + (bw - vw) / 2, box.top + (bh - vh) / 2, nullptr);
        SetBkMode(dc_, TRANSPARENT);
    }
    ~Canvas() { RestoreDC(dc_, saved_); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void rect(int l, int t, int r, int b, COLORREF fill, COLORREF line = kNone, int width = 1) {
        Tools tools(dc_, fill, line, width);
        Rectangle(dc_, l, t, r, b);
    }
    void round(int l, int t, int r, int b, int radius, COLORREF fill, COLORREF line = kNone, int width = 1) {
        Tools tools(dc_, fill, line, width);
        RoundRect(dc_, l, t, r, b, radius, radius);
    }
    void ellipse(int l, int t, int r, int b, COLORREF fill, COLORREF line = kNone, int width = 1) {
        Tools tools(dc_, fill, line, width);
        Ellipse(dc_, l, t, r, b);
    }
    void circle(int x, int y, int radius, COLORREF fill, COLORREF line = kNone, int width = 1) {
        ellipse(x - radius, y - radius, x + radius, y + radius, fill, line, width);
    }
    void poly(std::initializer_list<POINT> pts, COLORREF fill, COLORREF line = kNone, int width = 1) {
        Tools tools(dc_, fill, line, width);
        std::vector<POINT> v(pts);
        Polygon(dc_, v.data(), static_cast<int>(v.size()));
    }
    void line(int x1, int y1, int x2, int y2, COLORREF color, int width) {
        Tools tools(dc_, kNone, color, width);
        MoveToEx(dc_, x1, y1, nullptr);
        LineTo(dc_, x2, y2);
    }
    // Counter-clockwise from the start point's angle to the end point's.
    void arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2, COLORREF color, int width) {
        Tools tools(dc_, kNone, color, width);
        Arc(dc_, l, t, r, b, x1, y1, x2, y2);
    }
    void text(int l, int t, int r, int b, const char* s, int height, COLORREF color, bool bold, bool italic = false) {
        HFONT f = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS,
                              "Arial");
        HGDIOBJ old = SelectObject(dc_, f);
        SetTextColor(dc_, color);
        RECT rc = {l, t, r, b};
        DrawTextA(dc_, s, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
        SelectObject(dc_, old);
        DeleteObject(f);
    }

private:
    // Pen and brush for one shape, put back and freed after it.
    struct Tools {
        HDC dc;
        HPEN pen = nullptr;
        HBRUSH brush = nullptr;
        HGDIOBJ oldPen, oldBrush;
        Tools(HDC d, COLORREF fill, COLORREF line, int width) : dc(d) {
            if (line != kNone) pen = CreatePen(PS_SOLID, width, line);
            if (fill != kNone) brush = CreateSolidBrush(fill);
            oldPen = SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
            oldBrush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        }
        ~Tools() {
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            if (pen) DeleteObject(pen);
            if (brush) DeleteObject(brush);
        }
    };

    HDC dc_;
    int saved_;
};

// A speaker cabinet seen from the front: a tweeter over a woofer.
void cabinet(Canvas& c, int l, int t, int r, int b, COLORREF body) {
    c.round(l, t, r, b, 6, body, kBlack, 2);
    const int cx = (l + r) / 2, w = r - l;
    c.circle(cx, t + w / 3 + 2, w / 6, kDark, kBlack, 1);
    c.circle(cx, b - w / 2 - 2, w / 3, kDark, kBlack, 1);
    c.circle(cx, b - w / 2 - 2, w / 7, kMid);
}

void headphones(Canvas& c) {
    c.arc(16, 10, 84, 86, 84, 52, 16, 52, kDark, 9);
    c.arc(20, 14, 80, 82, 80, 50, 20, 50, kMid, 3);
    c.round(8, 46, 28, 86, 10, kDark, kBlack, 2);
    c.round(72, 46, 92, 86, 10, kDark, kBlack, 2);
    c.round(24, 50, 34, 82, 8, kBlack);
    c.round(66, 50, 76, 82, 8, kBlack);
}

void satellites(Canvas& c) {
    for (int x : {6, 72}) {
        c.round(x, 18, x + 22, 48, 4, kDark, kBlack, 2);
        c.circle(x + 11, 26, 4, kBlack);
        c.circle(x + 11, 39, 7, kBlack, kMid, 1);
        c.line(x + 11, 48, x + 11, 62, kMid, 3);
        c.rect(x + 3, 62, x + 19, 66, kMid);
    }
    c.round(30, 50, 70, 92, 6, kWood, kBlack, 2);
    c.circle(50, 71, 14, kDark, kBlack, 2);
    c.circle(50, 71, 5, kMid);
}

void monitors(Canvas& c) {
    cabinet(c, 10, 8, 42, 92, kWood);
    cabinet(c, 58, 8, 90, 92, kWood);
}

void quad(Canvas& c) {
    c.circle(50, 50, 30, kNone, kLight, 2);
    for (POINT p : {POINT{16, 16}, POINT{84, 16}, POINT{16, 84}, POINT{84, 84}}) {
        c.line(p.x, p.y, 50, 50, kLight, 2);
        c.round(p.x - 10, p.y - 10, p.x + 10, p.y + 10, 4, kDark, kBlack, 2);
        c.circle(p.x, p.y, 5, kBlack, kMid, 1);
    }
    c.circle(50, 50, 11, kSkin, kBlack, 2);
    c.poly({{46, 40}, {54, 40}, {50, 33}}, kSkin, kBlack, 1);
}

void soundCard(Canvas& c) {
    c.rect(6, 14, 14, 90, kLight, kMid, 2);               // bracket
    c.rect(14, 24, 94, 74, kGreen, RGB(20, 80, 40), 2);   // board
    for (int x = 34; x < 88; x += 5) c.rect(x, 74, x + 3, 82, kGold);
    c.rect(44, 34, 66, 56, kBlack);                        // the chip
    c.text(44, 34, 66, 56, "A3D", 7, kWhite, true);
    c.rect(72, 32, 86, 42, kBlack);
    c.rect(72, 50, 86, 60, kBlack);
    c.rect(20, 32, 30, 62, RGB(30, 30, 60));
    const COLORREF jacks[] = {RGB(90, 190, 90), RGB(240, 140, 180), RGB(90, 150, 230)};
    for (int n = 0; n < 3; ++n) c.circle(10, 34 + n * 14, 3, jacks[n], kBlack, 1);
}

void a3dLogo(Canvas& c) {
    c.arc(4, 18, 96, 82, 96, 50, 4, 50, kOrange, 4);
    c.arc(12, 26, 88, 74, 88, 50, 12, 50, RGB(250, 190, 80), 3);
    c.text(0, 28, 100, 72, "A3D", 40, kBlue, true, true);
    c.arc(4, 18, 96, 82, 4, 50, 96, 50, kOrange, 4);
}

void midiKeys(Canvas& c) {
    c.round(2, 8, 98, 62, 6, kWood, kBlack, 2);
    for (int n = 0; n < 8; ++n) c.rect(8 + n * 11, 16, 19 + n * 11, 58, kWhite, kBlack, 1);
    for (int n : {0, 1, 3, 4, 5}) c.rect(15 + n * 11, 16, 23 + n * 11, 42, kBlack);
}

void equalizer(Canvas& c) {
    c.round(4, 8, 96, 92, 8, kDark, kBlack, 2);
    const int levels[] = {5, 7, 9, 6, 4, 6, 8, 5};
    for (int n = 0; n < 8; ++n) {
        const int x = 12 + n * 10;
        for (int s = 0; s < levels[n]; ++s) {
            const int y = 82 - s * 8;
            const COLORREF col = s >= 8 ? kRed : s >= 6 ? kOrange : RGB(80, 200, 90);
            c.rect(x, y - 6, x + 7, y, col);
        }
    }
}

void chip(Canvas& c) {
    for (int n = 0; n < 6; ++n) {
        const int p = 28 + n * 9;
        c.rect(p, 12, p + 4, 24, kLight);
        c.rect(p, 76, p + 4, 88, kLight);
        c.rect(12, p, 24, p + 4, kLight);
        c.rect(76, p, 88, p + 4, kLight);
    }
    c.rect(22, 22, 78, 78, kBlack, kDark, 2);
    c.circle(31, 31, 3, kDark);
    c.text(22, 40, 78, 60, "AU8830", 10, kWhite, true);
}

void info(Canvas& c) {
    c.circle(50, 50, 44, kBlue, RGB(20, 50, 120), 3);
    c.circle(50, 28, 7, kWhite);
    c.round(43, 42, 57, 80, 6, kWhite);
}

void volume(Canvas& c) {
    c.rect(12, 38, 30, 62, kDark, kBlack, 2);
    c.poly({{30, 38}, {52, 18}, {52, 82}, {30, 62}}, kMid, kBlack, 2);
    c.arc(44, 34, 68, 66, 56, 30, 56, 70, kBlue, 5);
    c.arc(44, 20, 84, 80, 64, 16, 64, 84, kBlue, 5);
}

void recorder(Canvas& c) {
    c.round(36, 6, 64, 60, 26, kDark, kBlack, 2);
    for (int y = 18; y < 54; y += 8) c.line(40, y, 60, y, kMid, 2);
    c.arc(26, 28, 74, 72, 26, 50, 74, 50, kBlack, 4);
    c.line(50, 72, 50, 86, kBlack, 4);
    c.rect(32, 86, 68, 92, kBlack);
    c.circle(82, 18, 10, kRed, RGB(120, 0, 0), 2);
}

void media(Canvas& c) {
    c.circle(50, 50, 42, kOrange, RGB(150, 70, 0), 3);
    c.circle(50, 50, 32, RGB(250, 180, 70));
    c.poly({{38, 28}, {74, 50}, {38, 72}}, kWhite, RGB(150, 70, 0), 2);
}

void mixer(Canvas& c) {
    c.round(6, 6, 94, 94, 10, kLight, kDark, 3);
    const int knobs[] = {30, 62, 44};
    for (int n = 0; n < 3; ++n) {
        const int x = 24 + n * 26;
        c.line(x, 16, x, 84, kBlack, 4);
        c.rect(x - 10, knobs[n] - 6, x + 10, knobs[n] + 6, kBlue, kBlack, 2);
    }
}

void multimedia(Canvas& c) {
    c.circle(44, 56, 38, kLight, kMid, 2);
    c.circle(44, 56, 28, RGB(170, 200, 240));
    c.circle(44, 56, 12, kWhite, kMid, 1);
    c.circle(44, 56, 4, kMid);
    c.line(78, 8, 78, 52, kBlack, 5);
    c.poly({{78, 8}, {94, 16}, {94, 26}, {78, 18}}, kBlack);
    c.ellipse(64, 46, 80, 58, kBlack);
}

void game(Canvas& c) {
    c.round(10, 66, 90, 92, 14, kDark, kBlack, 2);
    c.line(50, 72, 44, 24, kBlack, 7);
    c.circle(43, 20, 12, kRed, RGB(120, 0, 0), 2);
    c.circle(74, 76, 6, kRed, kBlack, 1);
    c.ellipse(36, 70, 64, 80, kMid);
}

void dxdiag(Canvas& c) {
    c.round(6, 8, 94, 72, 6, kLight, kDark, 3);
    c.rect(14, 15, 86, 63, RGB(10, 30, 90));
    c.line(30, 24, 70, 54, kOrange, 8);
    c.line(70, 24, 30, 54, RGB(90, 200, 90), 8);
    c.rect(42, 72, 58, 82, kMid);
    c.round(26, 82, 74, 92, 6, kMid, kDark, 2);
}

// Drawing, and the proportions of the surface it is drawn on.
void drawOn(HDC dc, int image, const RECT& box) {
    switch (image) {
        case IMG_HEADPHONES: { Canvas c(dc, box, 100, 100); headphones(c); break; }
        case IMG_SATELLITE: { Canvas c(dc, box, 100, 100); satellites(c); break; }
        case IMG_MONITOR: { Canvas c(dc, box, 100, 100); monitors(c); break; }
        case IMG_QUAD: { Canvas c(dc, box, 100, 100); quad(c); break; }
        case IMG_CARD: { Canvas c(dc, box, 100, 100); soundCard(c); break; }
        case IMG_A3D_LOGO: { Canvas c(dc, box, 100, 100); a3dLogo(c); break; }
        case IMG_MIDI: { Canvas c(dc, box, 100, 70); midiKeys(c); break; }
        case IMG_EQUALIZER: { Canvas c(dc, box, 100, 100); equalizer(c); break; }
        case IMG_CHIP: { Canvas c(dc, box, 100, 100); chip(c); break; }
        case IMG_INFO: { Canvas c(dc, box, 100, 100); info(c); break; }
        case ICON_VOLUME: { Canvas c(dc, box, 100, 100); volume(c); break; }
        case ICON_RECORDER: { Canvas c(dc, box, 100, 100); recorder(c); break; }
        case ICON_MEDIA: { Canvas c(dc, box, 100, 100); media(c); break; }
        case ICON_MIXER: { Canvas c(dc, box, 100, 100); mixer(c); break; }
        case ICON_MULTIMEDIA: { Canvas c(dc, box, 100, 100); multimedia(c); break; }
        case ICON_GAME: { Canvas c(dc, box, 100, 100); game(c); break; }
        case ICON_DXDIAG: { Canvas c(dc, box, 100, 100); dxdiag(c); break; }
        default: break;
    }
}

}  // namespace

void drawImage(HDC dc, int image, const RECT& box) {
    if (box.right <= box.left || box.bottom <= box.top) return;
    drawOn(dc, image, box);
}

HIMAGELIST makeImageList(const std::vector<int>& images, int size) {
    HIMAGELIST il = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(images.size()), 1);
    if (!il) return nullptr;
    BITMAPINFO bi;
    std::memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!mem) {
        ImageList_Destroy(il);
        return nullptr;
    }
    // A monochrome bitmap's rows are whole 16-bit words, leftmost pixel in
    // the top bit; set bits are the transparent ones.
    const int stride = (size + 15) / 16 * 2;
    std::vector<BYTE> maskBits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(size));
    for (int image : images) {
        void* bits = nullptr;
        HBITMAP color = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HBITMAP mask = nullptr;
        if (color && bits) {
            HGDIOBJ old = SelectObject(mem, color);
            RECT all = {0, 0, size, size};
            HBRUSH key = CreateSolidBrush(kKey);
            FillRect(mem, &all, key);
            DeleteObject(key);
            drawImage(mem, image, all);
            GdiFlush();
            // GDI leaves alpha at 0: make the drawing opaque, the key clear,
            // and the mask from the key.
            auto* px = static_cast<DWORD*>(bits);
            const DWORD keyPixel = 0x00FF00FFu;
            std::fill(maskBits.begin(), maskBits.end(), BYTE{0});
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    DWORD& p = px[y * size + x];
                    if ((p & 0x00FFFFFFu) == keyPixel) {
                        p = 0;
                        maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80u >> (x % 8));
                    } else {
                        p |= 0xFF000000u;
                    }
                }
            }
            SelectObject(mem, old);
            mask = CreateBitmap(size, size, 1, 1, maskBits.data());
        }
        if (color && mask) {
            ImageList_Add(il, color, mask);
        } else {
            // Keep the numbering: an empty picture in its place.
            ImageList_SetImageCount(il, ImageList_GetImageCount(il) + 1);
        }
        if (color) DeleteObject(color);
        if (mask) DeleteObject(mask);
    }
    DeleteDC(mem);
    return il;
}

}  // namespace ui::win32
