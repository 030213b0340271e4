#pragma once
// Pictures of the tool path: SVG text (pure) and a PNG drawn with cairo.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "tools/simulator/tool_path.h"

namespace simulator {

// The frame a picture shows: the path's bounds with a margin, never empty.
struct Bounds {
    int64_t minX, minY, maxX, maxY;
};
Bounds FrameOf(const std::vector<Point>& vertices);

// Keeps the first and last vertex and at most `limit` in all, evenly spread, and the vertices
// where the tool changed (0: all).
PathPicture Thinned(const PathPicture& picture, std::size_t limit);

// An SVG document of the path in machine units (X to the right, Y up). Its
// <path id="tool-path"> holds the vertices in order as "M x y L x y ...", so a reader finds
// the path's points exactly (it draws nothing itself); each run is drawn as a
// <path class="cut"> (solid) or a <path class="travel"> (thin, dashed) over its vertices. The
// start and the position are marked.
std::string PathSvg(const PathPicture& picture);

// A PNG picture (`width` x `height` pixels) of the path, its runs drawn as the SVG draws them,
// with the position and the step count written in a corner. Empty when cairo fails.
std::string PathPng(const PathPicture& picture, uint64_t steps, int width = 640, int height = 480);

// The vertices of `run` (the picture's run number `index`), both ends included.
std::pair<std::size_t, std::size_t> RunSpan(const PathPicture& picture, std::size_t index);

// Frees the font and surface caches that drawing the PNG filled (cairo's and fontconfig's),
// so that a leak check at exit sees only leaks of our own. Call once, when nothing draws.
void ReleasePictureCaches();

}  // namespace simulator
