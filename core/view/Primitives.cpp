#include "view/Primitives.h"

namespace vantor::view {

Primitive polyline(std::vector<Point> points, int width, Rgb colour) {
    Primitive p;
    p.kind = Primitive::Kind::Polyline;
    p.points = std::move(points);
    p.width = width;
    p.colour = colour;
    return p;
}

Primitive text(Point at, std::string s, Rgb colour, int height) {
    Primitive p;
    p.kind = Primitive::Kind::Text;
    p.points = {at};
    p.text = std::move(s);
    p.colour = colour;
    p.textHeight = height;
    return p;
}

Primitive picture(Point at, std::string file, int w, int h, std::string missing) {
    Primitive p;
    p.kind = Primitive::Kind::Picture;
    p.points = {at};
    p.text = std::move(file);
    p.pictureWidth = w;
    p.pictureHeight = h;
    p.missingMessage = std::move(missing);
    return p;
}

} // namespace vantor::view
