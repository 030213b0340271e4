#pragma once
// Which of the system's message-box icons a box of another process shows. Icon handles do not
// cross processes, so the icon is told by its pixels: the icon control's place on the screen is
// compared with each system icon drawn here, at the pixels where that icon is opaque (drawn
// once on black and once on white, the pixels that come out the same).

#include <windows.h>

#include <string>

namespace crashtest {

namespace detail {

// The identifiers behind IDI_HAND, IDI_ASTERISK, IDI_EXCLAMATION and IDI_QUESTION.
struct SystemIcon {
    const char* name;
    WORD id;
};

constexpr SystemIcon kBoxIcons[] = {
    {"hand", 32513},
    {"asterisk", 32516},
    {"exclamation", 32515},
    {"question", 32514},
};

constexpr DWORD kIconPaintWaitMs = 3000;
// The share of an icon's opaque pixels that must match.
constexpr double kIconMatch = 0.95;

// A bitmap of `width` by `height` pixels selected into a memory device context.
class PixelCanvas {
public:
    PixelCanvas(HDC screen, int width, int height)
        : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)) {
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~PixelCanvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// The share of `icon`'s opaque pixels that `shot` shows unchanged.
inline double IconMatch(HDC screen, HDC shot, WORD icon, int width, int height) {
    HICON image = LoadIconA(nullptr, MAKEINTRESOURCEA(icon));
    PixelCanvas onBlack(screen, width, height);
    PixelCanvas onWhite(screen, width, height);
    RECT all{0, 0, width, height};
    FillRect(onBlack.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(onWhite.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(onBlack.dc(), 0, 0, image, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.dc(), 0, 0, image, width, height, 0, nullptr, DI_NORMAL);
    int opaque = 0;
    int same = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF black = GetPixel(onBlack.dc(), x, y);
            if (black != GetPixel(onWhite.dc(), x, y)) continue;
            ++opaque;
            if (GetPixel(shot, x, y) == black) ++same;
        }
    }
    return opaque == 0 ? 0.0 : static_cast<double>(same) / opaque;
}

}  // namespace detail

// The name of the system icon ("hand", "asterisk", "exclamation", "question") that the icon
// control shows, or "<unknown>" when none matches within the wait for its painting.
inline std::string BoxIconName(HWND iconControl) {
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    HDC screen = GetDC(nullptr);
    std::string found = "<unknown>";
    const DWORD start = GetTickCount();
    while (found == "<unknown>" && GetTickCount() - start < detail::kIconPaintWaitMs) {
        POINT origin{0, 0};
        ClientToScreen(iconControl, &origin);
        detail::PixelCanvas shot(screen, width, height);
        BitBlt(shot.dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
        for (const detail::SystemIcon& icon : detail::kBoxIcons) {
            if (detail::IconMatch(screen, shot.dc(), icon.id, width, height) >= detail::kIconMatch) {
                found = icon.name;
                break;
            }
        }
        if (found == "<unknown>") Sleep(50);
    }
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace crashtest
