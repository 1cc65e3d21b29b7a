#include "core/maximum.h"

#include <cmath>

namespace core {

Sample maximumBetween(
    const std::function<double(double)>& f, double low, double high, Sample best, double tolerance, int steps)
{
    constexpr double kGolden = 0.381966011250105; // (3 - sqrt 5) / 2
    const double tol = tolerance / 2;
    double a = low, b = high;
    Sample x = best, w = best, v = best; // the best, second best and previous second best
    double d = 0, e = 0; // the last step, and the one before it
    for (int i = 0; i < steps; ++i) {
        const double middle = (a + b) / 2;
        if (std::abs(x.x - middle) <= 2 * tol - (b - a) / 2)
            break;
        bool golden = true;
        if (std::abs(e) > tol) {
            // The vertex of the parabola through x, w and v, as a step p / q from x
            // (the same vertex whether the parabola opens up or down).
            const double r = (x.x - w.x) * (x.y - v.y);
            double q = (x.x - v.x) * (x.y - w.y);
            double p = (x.x - v.x) * q - (x.x - w.x) * r;
            q = 2 * (q - r);
            if (q > 0)
                p = -p;
            q = std::abs(q);
            const double previous = e;
            e = d;
            if (std::abs(p) < std::abs(q * previous / 2) && p > q * (a - x.x) && p < q * (b - x.x)) {
                d = p / q;
                const double u = x.x + d;
                if (u - a < 2 * tol || b - u < 2 * tol)
                    d = std::copysign(tol, middle - x.x);
                golden = false;
            }
        }
        if (golden) {
            e = x.x >= middle ? a - x.x : b - x.x;
            d = kGolden * e;
        }
        const double ux = std::abs(d) >= tol ? x.x + d : x.x + std::copysign(tol, d);
        const Sample u {ux, f(ux)};
        if (u.y >= x.y) {
            (u.x >= x.x ? a : b) = x.x;
            v = w;
            w = x;
            x = u;
        } else {
            (u.x < x.x ? a : b) = u.x;
            if (u.y >= w.y || w.x == x.x) {
                v = w;
                w = u;
            } else if (u.y >= v.y || v.x == x.x || v.x == w.x) {
                v = u;
            }
        }
    }
    return x;
}

} // namespace core
