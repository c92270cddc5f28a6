#include "Pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "Dialogs.h"
#include "Internal.h"

namespace e2e {

using namespace detail;

namespace {

// A w x h 32-bit top-down picture: `draw` paints into `mem` (with the
// screen's DC at hand) and the pixels come back; empty when GDI refuses.
std::vector<std::uint32_t> paintPixels(int w, int h, const std::function<bool(HDC mem, HDC screen, std::uint32_t* bits)>& draw) {
    std::vector<std::uint32_t> px;
    if (w <= 0 || h <= 0) return px;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        auto* p = static_cast<std::uint32_t*>(bits);
        if (draw(mem, screen, p)) {
            GdiFlush();
            px.assign(p, p + std::size_t(w) * std::size_t(h));
        }
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return px;
}

// Screen pixels of a window, 32-bit BGRX, top row first.
std::vector<std::uint32_t> grab(HWND h, int& w, int& ht) {
    RECT r;
    GetWindowRect(h, &r);
    w = r.right - r.left;
    ht = r.bottom - r.top;
    return paintPixels(w, ht, [&](HDC mem, HDC screen, std::uint32_t*) {
        return BitBlt(mem, 0, 0, w, ht, screen, r.left, r.top, SRCCOPY) != 0;
    });
}

// A system icon as the message box would draw it over `background`.
std::vector<std::uint32_t> render(LPCTSTR id, int w, int h, std::uint32_t background) {
    return paintPixels(w, h, [&](HDC mem, HDC, std::uint32_t* p) {
        std::fill(p, p + std::size_t(w) * std::size_t(h), background);
        DrawIconEx(mem, 0, 0, LoadIcon(nullptr, id), 0, 0, 0, nullptr, DI_NORMAL);
        return true;
    });
}

double mismatch(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.empty() || a.size() != b.size()) return 1.0;
    std::size_t bad = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int sh = 0; sh < 24; sh += 8) {
            int x = int((a[i] >> sh) & 0xFF), y = int((b[i] >> sh) & 0xFF);
            if (std::abs(x - y) > 40) {
                ++bad;
                break;
            }
        }
    }
    return double(bad) / double(a.size());
}

}  // namespace

namespace detail {

Icon classify(HWND iconCtl) {
    int w = 0, h = 0;
    std::vector<std::uint32_t> shown = grab(iconCtl, w, h);
    if (shown.empty()) return Icon::Unrecognised;
    struct Candidate {
        Icon icon;
        LPCTSTR id;
    } const candidates[] = {{Icon::Information, IDI_ASTERISK},
                            {Icon::Critical, IDI_HAND},
                            {Icon::Question, IDI_QUESTION},
                            {Icon::Warning, IDI_EXCLAMATION}};
    Icon best = Icon::Unrecognised;
    double bestScore = 0.08;  // at most this share of pixels may differ
    for (const Candidate& c : candidates) {
        double m = mismatch(shown, render(c.id, w, h, shown[0]));
        if (m < bestScore) {
            bestScore = m;
            best = c.icon;
        }
    }
    return best;
}

}  // namespace detail

std::uint32_t Shot::at(int x, int y) const {
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom || px.empty()) return 0;
    return px[std::size_t(y - box.top) * std::size_t(box.width()) + std::size_t(x - box.left)] & 0xFFFFFFu;
}

Shot shoot(const Window& w) {
    HWND h = H(w.hwnd());
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    send(h, WM_NULL, 0, 0, "the window to be shot");
    // Wine puts what was painted on the screen a little later: take the
    // picture once two looks in a row agree.
    int width = 0, height = 0;
    std::vector<std::uint32_t> px = grab(h, width, height), last;
    waitUntil(
        [&] {
            last = px;
            Sleep(60);
            px = grab(h, width, height);
            return !px.empty() && px == last;
        },
        scaled(3000));
    if (px.empty()) throw Failure("cannot take a picture of " + captionOf(h));
    RECT r;
    GetWindowRect(h, &r);
    Shot shot;
    shot.box = Box{int(r.left), int(r.top), int(r.left) + width, int(r.top) + height};
    shot.px = std::move(px);
    return shot;
}

void saveScreenshot(const Window& w, const std::string& path) {
    const Shot shot = shoot(w);
    const int width = shot.box.width(), height = shot.box.height();
    const std::vector<std::uint32_t>& px = shot.px;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = width;
    ih.biHeight = height;  // bottom row first
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = DWORD(stride) * DWORD(height);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> rows(ih.biSizeImage, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* out = &rows[std::size_t(height - 1 - y) * std::size_t(stride)];
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = px[std::size_t(y) * std::size_t(width) + std::size_t(x)];
            out[3 * x] = std::uint8_t(p);
            out[3 * x + 1] = std::uint8_t(p >> 8);
            out[3 * x + 2] = std::uint8_t(p >> 16);
        }
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw Failure("cannot write " + path);
    const bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
                    std::fwrite(rows.data(), 1, rows.size(), f) == rows.size();
    if (std::fclose(f) != 0 || !ok) throw Failure("cannot write " + path);
}

std::string shotsFolder() {
    std::string p = pathFromEnvironment("QM_SHOTS_DIR", "");
    if (p.empty()) return std::string();
    while (p.size() > 3 && p.back() == '\\') p.pop_back();
    makeFoldersAbove(p);
    CreateDirectoryA(p.c_str(), nullptr);
    if (GetFileAttributesA(p.c_str()) == INVALID_FILE_ATTRIBUTES) throw Failure("cannot make the folder " + p);
    return p;
}

}  // namespace e2e
