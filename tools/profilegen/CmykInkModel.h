#pragma once
#include <lcms2.h>

#include <array>

namespace vx::profilegen {

/// A small documented model of four process inks on a coated paper, for the program's
/// default CMYK profile. Forward: each ink's coverage grows by a mid-tone dot gain
/// (e = c + 0.3 c (1 - c)); the inks add optical densities in three bands (red, green,
/// blue) by the table in CmykInkModel.cpp; a band reflects paper x (flare + (1 - flare)
/// x 10^-density); the band reflectances are linear sRGB values, taken to D50 XYZ and
/// Lab. Separation: the CMY mix nearest the Lab colour (least squares, clamped) gives a
/// grey component g = min(C, M, Y); black replaces it from g = 0.2 to full black at
/// g = 1 (GCR); CMY are solved again with that black; a total above the ink limit
/// scales C, M and Y down.
class CmykInkModel {
public:
    explicit CmykInkModel(double inkLimit) : mInkLimit(inkLimit) {}

    /// CMYK coverages 0..1 to D50 Lab.
    cmsCIELab Forward(const std::array<double, 4>& cmyk) const;

    /// D50 Lab to CMYK coverages 0..1. `hint` (C, M, Y of a neighbouring colour) speeds
    /// the search; out-of-gamut colours give the nearest reachable mix.
    std::array<double, 4> Separate(const cmsCIELab& target, std::array<double, 3>& hint) const;

private:
    std::array<double, 3> SolveCmy(const cmsCIELab& target, double k,
                                   const std::array<double, 3>& start, double* cost) const;
    std::array<double, 3> BestCmy(const cmsCIELab& target, double k,
                                  const std::array<double, 3>& hint) const;

    double mInkLimit;  // total coverage, 3.0 for 300 %
};

}  // namespace vx::profilegen
