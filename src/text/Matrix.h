// Affine transformations of the plane as PDF writes them: [a b c d e f] maps
// (x, y) to (a x + c y + e, b x + d y + f) (ISO 32000 8.3.3).
#pragma once

#include <cmath>

namespace tessary {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Matrix {
    double a = 1.0;
    double b = 0.0;
    double c = 0.0;
    double d = 1.0;
    double e = 0.0;
    double f = 0.0;

    bool operator==(const Matrix&) const = default;

    Point Apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
    // The image of a displacement: the linear part alone.
    Point ApplyToVector(Point v) const { return {a * v.x + c * v.y, b * v.x + d * v.y}; }

    // This transformation followed by next; "cm" sets the current matrix to
    // its operand followed by the current matrix.
    Matrix Then(const Matrix& next) const {
        return {a * next.a + b * next.c,          a * next.b + b * next.d,
                c * next.a + d * next.c,          c * next.b + d * next.d,
                e * next.a + f * next.c + next.e, e * next.b + f * next.d + next.f};
    }

    double Determinant() const { return a * d - b * c; }
    bool IsFinite() const {
        return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
               std::isfinite(e) && std::isfinite(f);
    }
};

}  // namespace tessary
