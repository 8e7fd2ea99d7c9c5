#pragma once
// What a project drawing is made of: polylines, texts and pictures in
// painting order, in logical coordinates. The scenes of both configurators
// list them; the window paints them as they come, so every position and
// colour is decided (and tested) without a window.
#include <cstdint>
#include <string>
#include <vector>

namespace vantor::view {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// One thing to paint, in painting order.
struct Primitive {
    enum class Kind { Polyline, Text, Picture };
    Kind kind = Kind::Polyline;
    std::vector<Point> points; // Polyline: the corners; Text/Picture: the top-left corner
    int width = 1;             // pen width of a polyline
    Rgb colour;
    std::string text;                 // Text: UTF-8; Picture: the picture file below the current directory
    int textHeight = 15;              // Text: pixel height of the font
    std::string fontFamily = "Times"; // Text
    bool bold = false;                // Text
    int maxWidth = 0;                 // Text: the space it may take, longer texts are elided (0: any)
    int pictureWidth = 0, pictureHeight = 0;
    std::string missingMessage; // Picture: what to report (once) when the file is missing
    // Picture: what is painted in its place when the file is missing.
    std::vector<Primitive> fallback;
};

Primitive polyline(std::vector<Point> points, int width, Rgb colour);
Primitive text(Point at, std::string s, Rgb colour, int height = 15);
Primitive picture(Point at, std::string file, int w, int h, std::string missing);

// Windows-style rectangle test: left and top inside, right and bottom outside.
inline bool inside(Point p, int left, int top, int right, int bottom) {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
}

} // namespace vantor::view
