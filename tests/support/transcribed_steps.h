#ifndef VORTA_TESTS_SUPPORT_TRANSCRIBED_STEPS_H
#define VORTA_TESTS_SUPPORT_TRANSCRIBED_STEPS_H
/* The closed-form steps transcribed line for line in double precision, one point after the
 * other, with no care for cancellation: the baseline the solver is measured against in the
 * benchmarks, and a second opinion in the tests where the steps are well conditioned.
 * Plain C, so that the C benchmark program and the C++ tests share it.
 *
 * transcribedSteps fills x, y and Cu, each with room for slots 0 to N1, and returns CL. */

#include <math.h>

static inline double transcribedPhi(double r, double SinT, double Pi) {
    double angle;
    if (r == 1) return SinT < 0 ? -Pi / 2 : Pi / 2;
    angle = atan(2 * SinT / (r - 1 / r));
    if (r > 1) return angle;
    return SinT <= 0 ? angle - Pi : angle + Pi;
}

static inline double transcribedSteps(int N1, double F, double G, double m, double Chord, double AlfaD,
                                      double* x, double* y, double* Cu) {
    const double Pi = 4 * atan(1.0);
    const int NM1 = N1 - 1;
    const double A = (Chord / (2 * m)) * (1 - pow(F / (1 + F), m));
    const double mA = m * A;
    const double XShift = m * A - Chord;
    const double Beta = atan(G / (1 + F));
    const double R2 = (1 + F) * (1 + F) + G * G;
    const double R = sqrt(R2);
    const double CenterRatio = sqrt((F * F + G * G) / R2);
    /* At F = 0 the limit of atan(G/F) as F -> 0+. */
    const double CenterAngle = F > 0 ? atan(G / F) : F == 0 && G != 0 ? copysign(Pi / 2, G) : 0;
    const double Alfa = AlfaD * Pi / 180;
    /* Only an odd N1 has a point at the singular nose of F = 0: the sweep stops short of it. */
    const double iEnd = F == 0 && N1 % 2 == 1 ? NM1 / 2.0 : NM1 / 2.0 + 1;
    const double dTheta = 2 * Pi / NM1;
    const double CosAB = cos(Alfa + Beta);
    int i, pass, k;
    for (k = 0; k <= N1; ++k) x[k] = y[k] = Cu[k] = 0;
    for (i = 2; i <= iEnd; ++i) {
        double Theta = -(i - 1) * dTheta;
        for (pass = 1; pass <= 2; ++pass) {
            const double SinT = sin(Theta), CosT = cos(Theta);
            const double P = -F * CosT + G * SinT;
            const double r = P + sqrt(1 + 2 * F + P * P);
            const double Dp = sqrt(1 + r * r + 2 * r * CosT);
            const double Dm = sqrt(1 + r * r - 2 * r * CosT);
            const double Rho = Dm / Dp;
            const double Phi = transcribedPhi(r, SinT, Pi);
            const double Den = 1 + pow(Rho, 2 * m) - 2 * pow(Rho, m) * cos(m * Phi);
            const double Xm = mA * (1 - pow(Rho, 2 * m)) / Den;
            const double Ym = 2 * mA * pow(Rho, m) * sin(m * Phi) / Den;
            const double S = CenterRatio * sin(Theta + CenterAngle);
            const double Omega = asin(S);
            const double Psi = (Theta - Alfa) - Omega;
            const double Dz = (2 * m / Dp) * (2 * m / Dp) * pow(Rho, m - 1) / Den;
            const double V = 2 * (sin(Alfa + Beta) + sin(Psi)) / Dz;
            k = pass == 1 ? i : N1 + 1 - i;
            x[k] = Xm - XShift;
            y[k] = Ym;
            Cu[k] = V * V;
            Theta = -Theta;
        }
    }
    x[1] = x[N1] = Chord;
    y[1] = y[N1] = 0;
    Cu[1] = Cu[N1] = m == 2 ? CosAB * CosAB / R2 : 0;
    return 8 * Pi * R * A * sin(Alfa + Beta) / Chord;
}

#endif
