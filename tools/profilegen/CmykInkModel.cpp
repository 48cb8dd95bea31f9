#include "profilegen/CmykInkModel.h"

#include <algorithm>
#include <cmath>

namespace vx::profilegen {
namespace {

constexpr double kDotGain = 0.3;
constexpr double kFlare = 0.008;  // light reflected from the surface, sets the black point
constexpr double kPaper[3] = {0.905, 0.905, 0.880};
// Optical density of each ink at full coverage in the red, green and blue band.
constexpr double kDensity[4][3] = {
    {1.25, 0.40, 0.15},  // cyan
    {0.10, 1.15, 0.50},  // magenta
    {0.02, 0.08, 1.05},  // yellow
    {1.45, 1.45, 1.45},  // black
};
// Linear sRGB to D50 XYZ (Bradford-adapted).
constexpr double kRgbToXyz[3][3] = {
    {0.4360747, 0.3850649, 0.1430804},
    {0.2225045, 0.7168786, 0.0606169},
    {0.0139322, 0.0971045, 0.7141733},
};

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double Cost(const cmsCIELab& a, const cmsCIELab& b) {
    const double dl = a.L - b.L, da = a.a - b.a, db = a.b - b.b;
    return dl * dl + da * da + db * db;
}

// Solves the 3x3 system m x = v by Cramer's rule; false when singular.
bool Solve3(const double m[3][3], const double v[3], double x[3]) {
    auto det = [](const double a[3][3]) {
        return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
               a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
               a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
    };
    const double d = det(m);
    if (std::fabs(d) < 1e-18) return false;
    for (int c = 0; c < 3; ++c) {
        double t[3][3];
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < 3; ++k) t[r][k] = k == c ? v[r] : m[r][k];
        x[c] = det(t) / d;
    }
    return true;
}

}  // namespace

cmsCIELab CmykInkModel::Forward(const std::array<double, 4>& cmyk) const {
    double density[3] = {0, 0, 0};
    for (int ink = 0; ink < 4; ++ink) {
        const double c = Clamp01(cmyk[ink]);
        const double effective = c + kDotGain * c * (1 - c);
        for (int band = 0; band < 3; ++band) density[band] += effective * kDensity[ink][band];
    }
    double rho[3];
    for (int band = 0; band < 3; ++band)
        rho[band] = kPaper[band] * (kFlare + (1 - kFlare) * std::pow(10.0, -density[band]));
    cmsCIEXYZ xyz{kRgbToXyz[0][0] * rho[0] + kRgbToXyz[0][1] * rho[1] + kRgbToXyz[0][2] * rho[2],
                  kRgbToXyz[1][0] * rho[0] + kRgbToXyz[1][1] * rho[1] + kRgbToXyz[1][2] * rho[2],
                  kRgbToXyz[2][0] * rho[0] + kRgbToXyz[2][1] * rho[1] + kRgbToXyz[2][2] * rho[2]};
    cmsCIELab lab;
    cmsXYZ2Lab(cmsD50_XYZ(), &lab, &xyz);
    return lab;
}

// Damped Gauss-Newton (Levenberg-Marquardt) on the Lab difference, kept inside 0..1.
std::array<double, 3> CmykInkModel::SolveCmy(const cmsCIELab& target, double k,
                                             const std::array<double, 3>& start,
                                             double* cost) const {
    auto eval = [&](const std::array<double, 3>& x) { return Forward({x[0], x[1], x[2], k}); };
    std::array<double, 3> x = start;
    cmsCIELab cur = eval(x);
    double curCost = Cost(cur, target);
    double lambda = 1e-3;
    for (int iter = 0; iter < 40 && curCost > 1e-8; ++iter) {
        double jac[3][3];  // d(L, a, b) / d(c, m, y)
        for (int j = 0; j < 3; ++j) {
            std::array<double, 3> xs = x;
            const double h = xs[j] > 0.5 ? -1e-4 : 1e-4;
            xs[j] += h;
            const cmsCIELab p = eval(xs);
            jac[0][j] = (p.L - cur.L) / h;
            jac[1][j] = (p.a - cur.a) / h;
            jac[2][j] = (p.b - cur.b) / h;
        }
        const double r[3] = {cur.L - target.L, cur.a - target.a, cur.b - target.b};
        double jtj[3][3], g[3];
        for (int i = 0; i < 3; ++i) {
            g[i] = -(jac[0][i] * r[0] + jac[1][i] * r[1] + jac[2][i] * r[2]);
            for (int j = 0; j < 3; ++j)
                jtj[i][j] = jac[0][i] * jac[0][j] + jac[1][i] * jac[1][j] + jac[2][i] * jac[2][j];
        }
        bool improved = false;
        while (lambda < 1e8) {
            double a[3][3], step[3];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) a[i][j] = jtj[i][j] + (i == j ? lambda * (jtj[i][i] + 1e-9) : 0);
            if (!Solve3(a, g, step)) {
                lambda *= 4;
                continue;
            }
            std::array<double, 3> next{Clamp01(x[0] + step[0]), Clamp01(x[1] + step[1]),
                                       Clamp01(x[2] + step[2])};
            const cmsCIELab p = eval(next);
            const double c = Cost(p, target);
            if (c < curCost) {
                improved = curCost - c > 1e-10;
                x = next;
                cur = p;
                curCost = c;
                lambda = std::max(lambda / 3, 1e-7);
                break;
            }
            lambda *= 4;
        }
        if (!improved) break;
    }
    *cost = curCost;
    return x;
}

std::array<double, 3> CmykInkModel::BestCmy(const cmsCIELab& target, double k,
                                            const std::array<double, 3>& hint) const {
    double cost = 0;
    std::array<double, 3> best = SolveCmy(target, k, hint, &cost);
    // A far-off result may be a local stall at the box edge; try a neutral start too.
    if (cost > 1.0) {
        double other = 0;
        std::array<double, 3> x = SolveCmy(target, k, {0.5, 0.5, 0.5}, &other);
        if (other < cost) best = x;
    }
    return best;
}

std::array<double, 4> CmykInkModel::Separate(const cmsCIELab& target,
                                             std::array<double, 3>& hint) const {
    const std::array<double, 3> cmy = BestCmy(target, 0.0, hint);
    hint = cmy;
    const double grey = std::min({cmy[0], cmy[1], cmy[2]});
    const double k = Clamp01((grey - 0.2) / 0.8);
    std::array<double, 4> out{cmy[0], cmy[1], cmy[2], 0.0};
    if (k > 0) {
        const std::array<double, 3> start{Clamp01(cmy[0] - k), Clamp01(cmy[1] - k),
                                          Clamp01(cmy[2] - k)};
        const std::array<double, 3> withK = BestCmy(target, k, start);
        out = {withK[0], withK[1], withK[2], k};
    }
    const double cmySum = out[0] + out[1] + out[2];
    if (cmySum + out[3] > mInkLimit && cmySum > 0) {
        const double scale = std::max(0.0, mInkLimit - out[3]) / cmySum;
        for (int i = 0; i < 3; ++i) out[i] *= scale;
    }
    return out;
}

}  // namespace vx::profilegen
