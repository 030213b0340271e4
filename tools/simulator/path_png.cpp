#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "tools/simulator/path_picture.h"

namespace simulator {

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) noexcept {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Machine units to pixels: one scale for both axes, Y up, the frame centred.
struct Mapping {
    double scale, offsetX, offsetY;
    double X(int64_t x) const { return offsetX + scale * static_cast<double>(x); }
    double Y(int64_t y) const { return offsetY - scale * static_cast<double>(y); }
};

Mapping MappingFor(const Bounds& f, int width, int height, double border) {
    const double spanX = static_cast<double>(f.maxX - f.minX);
    const double spanY = static_cast<double>(f.maxY - f.minY);
    const double scale = std::min((width - 2 * border) / spanX, (height - 2 * border) / spanY);
    const double usedX = spanX * scale, usedY = spanY * scale;
    return {scale, (width - usedX) / 2 - scale * static_cast<double>(f.minX),
            (height - usedY) / 2 + scale * static_cast<double>(f.maxY)};
}

void Dot(cairo_t* c, const Mapping& m, const Point& p, double radius, double r, double g, double b) {
    cairo_new_path(c);
    cairo_arc(c, m.X(p.x), m.Y(p.y), radius, 0, 6.2831853);
    cairo_set_source_rgb(c, r, g, b);
    cairo_fill(c);
}

// The runs of one kind: the cut solid, travel thin and dashed, as in the SVG.
void StrokeRuns(cairo_t* c, const Mapping& m, const PathPicture& picture, bool cut) {
    const double dash[] = {5, 4};
    cairo_set_dash(c, dash, cut ? 0 : 2, 0);
    cairo_set_line_width(c, cut ? 2 : 1);
    if (cut) {
        cairo_set_source_rgb(c, 0.082, 0.396, 0.753);
    } else {
        cairo_set_source_rgb(c, 0.47, 0.565, 0.612);
    }
    for (std::size_t i = 0; i < picture.runs.size(); ++i) {
        if (picture.runs[i].cut != cut) continue;
        const auto [first, last] = RunSpan(picture, i);
        if (first >= last) continue;
        cairo_move_to(c, m.X(picture.vertices[first].x), m.Y(picture.vertices[first].y));
        for (std::size_t v = first + 1; v <= last; ++v) {
            cairo_line_to(c, m.X(picture.vertices[v].x), m.Y(picture.vertices[v].y));
        }
        cairo_stroke(c);
    }
    cairo_set_dash(c, nullptr, 0, 0);
}

}  // namespace

std::string PathPng(const PathPicture& picture, uint64_t steps, int width, int height) {
    const std::vector<Point>& vertices = picture.vertices;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
    std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
    cairo_t* c = context.get();
    cairo_set_source_rgb(c, 0.984, 0.984, 0.972);
    cairo_paint(c);

    const Mapping m = MappingFor(FrameOf(vertices), width, height, 24);
    // The axes through 0, 0, faint.
    cairo_set_source_rgb(c, 0.85, 0.85, 0.82);
    cairo_set_line_width(c, 1);
    cairo_move_to(c, 0, m.Y(0));
    cairo_line_to(c, width, m.Y(0));
    cairo_move_to(c, m.X(0), 0);
    cairo_line_to(c, m.X(0), height);
    cairo_stroke(c);

    if (!vertices.empty()) {
        cairo_set_line_join(c, CAIRO_LINE_JOIN_ROUND);
        StrokeRuns(c, m, picture, false);
        StrokeRuns(c, m, picture, true);
        Dot(c, m, vertices.front(), 4.5, 0.18, 0.49, 0.2);
        Dot(c, m, vertices.back(), 5.5, 0.78, 0.16, 0.16);
    }

    char label[128];
    const Point end = vertices.empty() ? Point{} : vertices.back();
    std::snprintf(label, sizeof label, "X %lld   Y %lld   steps %llu", static_cast<long long>(end.x),
                  static_cast<long long>(end.y), static_cast<unsigned long long>(steps));
    cairo_select_font_face(c, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(c, 14);
    cairo_set_source_rgb(c, 0.2, 0.2, 0.2);
    cairo_move_to(c, 10, 20);
    cairo_show_text(c, label);

    std::string png;
    if (cairo_surface_write_to_png_stream(surface.get(), AppendBytes, &png) != CAIRO_STATUS_SUCCESS) return {};
    return png;
}

void ReleasePictureCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace simulator
