#include <algorithm>
#include <cstdio>

#include "tools/simulator/path_picture.h"

namespace simulator {

Bounds FrameOf(const std::vector<Point>& vertices) {
    Bounds b{0, 0, 0, 0};
    if (!vertices.empty()) b = {vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
    for (const Point& p : vertices) {
        b.minX = std::min(b.minX, p.x);
        b.minY = std::min(b.minY, p.y);
        b.maxX = std::max(b.maxX, p.x);
        b.maxY = std::max(b.maxY, p.y);
    }
    // A margin of a twentieth of the larger side, at least one step, so that a path along one
    // axis (or a single point) still has a frame with room around it.
    const int64_t margin = std::max<int64_t>(1, std::max(b.maxX - b.minX, b.maxY - b.minY) / 20);
    return {b.minX - margin, b.minY - margin, b.maxX + margin, b.maxY + margin};
}

PathPicture Thinned(const PathPicture& picture, std::size_t limit) {
    const std::vector<Point>& vertices = picture.vertices;
    if (limit < 2 || vertices.size() <= limit) return picture;
    std::vector<std::size_t> kept;
    kept.reserve(limit + picture.runs.size());
    for (std::size_t i = 0; i < limit - 1; ++i) kept.push_back(i * (vertices.size() - 1) / (limit - 1));
    kept.push_back(vertices.size() - 1);
    for (const PathRun& run : picture.runs) kept.push_back(run.first);
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    PathPicture thinned;
    thinned.vertices.reserve(kept.size());
    for (std::size_t index : kept) thinned.vertices.push_back(vertices[index]);
    for (const PathRun& run : picture.runs) {
        const auto at = std::lower_bound(kept.begin(), kept.end(), run.first);
        thinned.runs.push_back(PathRun{static_cast<std::size_t>(at - kept.begin()), run.cut});
    }
    return thinned;
}

std::pair<std::size_t, std::size_t> RunSpan(const PathPicture& picture, std::size_t index) {
    const std::size_t last = picture.vertices.empty() ? 0 : picture.vertices.size() - 1;
    const std::size_t end = index + 1 < picture.runs.size() ? picture.runs[index + 1].first : last;
    return {picture.runs[index].first, end};
}

namespace {

void AppendPoint(std::string& out, const char* command, const Point& p) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld %lld", command, static_cast<long long>(p.x),
                  static_cast<long long>(p.y));
    out += text;
}

// A dot at `p`: a zero-length line with a round cap of `size` pixels, whatever the scale.
void AppendDot(std::string& out, const char* id, const Point& p, const char* colour, int size) {
    out += "<path id=\"";
    out += id;
    out += "\" d=\"";
    AppendPoint(out, "M", p);
    out += " l0 0\" stroke=\"";
    out += colour;
    out += "\" stroke-width=\"" + std::to_string(size) +
           "\" stroke-linecap=\"round\" vector-effect=\"non-scaling-stroke\"/>\n";
}

// The runs of one kind, each as a path of its own.
void AppendRuns(std::string& out, const PathPicture& picture, bool cut) {
    for (std::size_t i = 0; i < picture.runs.size(); ++i) {
        if (picture.runs[i].cut != cut) continue;
        const auto [first, last] = RunSpan(picture, i);
        if (first >= last) continue;  // no move of its own
        out += cut ? "<path class=\"cut\" d=\"" : "<path class=\"travel\" d=\"";
        for (std::size_t v = first; v <= last; ++v) AppendPoint(out, v == first ? "M" : " L", picture.vertices[v]);
        out += cut ? "\" fill=\"none\" stroke=\"#1565c0\" stroke-width=\"2\" stroke-linejoin=\"round\" "
                     "vector-effect=\"non-scaling-stroke\"/>\n"
                   : "\" fill=\"none\" stroke=\"#78909c\" stroke-width=\"1\" stroke-dasharray=\"5 4\" "
                     "vector-effect=\"non-scaling-stroke\"/>\n";
    }
}

}  // namespace

std::string PathSvg(const PathPicture& picture) {
    const std::vector<Point>& vertices = picture.vertices;
    const Bounds f = FrameOf(vertices);
    char head[512];
    // Machine Y grows upwards: the group flips it, so the view box spans -maxY..-minY.
    std::snprintf(head, sizeof head,
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"tool-path-view\" "
                  "viewBox=\"%lld %lld %lld %lld\" width=\"640\" height=\"480\" "
                  "preserveAspectRatio=\"xMidYMid meet\">\n"
                  "<rect x=\"%lld\" y=\"%lld\" width=\"%lld\" height=\"%lld\" fill=\"#fbfbf8\"/>\n"
                  "<g transform=\"scale(1,-1)\">\n",
                  static_cast<long long>(f.minX), static_cast<long long>(-f.maxY),
                  static_cast<long long>(f.maxX - f.minX), static_cast<long long>(f.maxY - f.minY),
                  static_cast<long long>(f.minX), static_cast<long long>(-f.maxY),
                  static_cast<long long>(f.maxX - f.minX), static_cast<long long>(f.maxY - f.minY));
    std::string svg = head;
    svg += "<path id=\"tool-path\" d=\"";
    for (std::size_t i = 0; i < vertices.size(); ++i) AppendPoint(svg, i == 0 ? "M" : " L", vertices[i]);
    svg += "\" fill=\"none\" stroke=\"none\"/>\n";
    // Travel first, so that the cut lies on top where the two cross.
    AppendRuns(svg, picture, false);
    AppendRuns(svg, picture, true);
    if (!vertices.empty()) {
        AppendDot(svg, "start", vertices.front(), "#2e7d32", 9);
        AppendDot(svg, "position", vertices.back(), "#c62828", 11);
    }
    svg += "</g>\n</svg>\n";
    return svg;
}

}  // namespace simulator
