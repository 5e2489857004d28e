// Math for the generator that gives the same bits with every compiler and C
// library: the committed pictures are compared byte for byte with a fresh
// run, and libm's sin or exp may differ in the last place between versions.
// Only +, -, *, /, sqrt and floor are used, which IEEE 754 fixes exactly.
#pragma once

namespace kovrin::assets {

inline constexpr double kPi = 3.14159265358979323846;

double Sin(double x);
double Cos(double x);
double Exp(double x);

double Clamp01(double x);
double Mix(double a, double b, double t);
// Hermite step from 0 at edge0 to 1 at edge1 (edge0 > edge1 gives a falling step).
double Smoothstep(double edge0, double edge1, double x);
// Gaussian bump exp(-(x / width)^2).
double Bump(double x, double width);

}  // namespace kovrin::assets
