"""The closed-form steps on numpy arrays: the peer solver of bench/solver_whole_process.sh.
Computes the arrays for one section and prints a checksum.
    python3 solver_numpy.py F G m N1 AlfaD
"""
import sys

import numpy as np


def solve(N1, F, G, m, Chord, AlfaD):
    Pi = 4 * np.arctan(1.0)
    NM1 = N1 - 1
    A = (Chord / (2 * m)) * (1 - (F / (1 + F)) ** m)
    mA = m * A
    XShift = m * A - Chord
    Beta = np.arctan(G / (1 + F))
    R2 = (1 + F) ** 2 + G ** 2
    CenterRatio = np.sqrt((F ** 2 + G ** 2) / R2)
    # At F = 0 the limit of atan(G/F) as F -> 0+.
    CenterAngle = np.arctan(G / F) if F > 0 else np.copysign(Pi / 2, G) if F == 0 and G != 0 else 0.0
    Alfa = AlfaD * Pi / 180
    # Only an odd N1 has a point at the singular nose of F = 0: the sweep stops short of it.
    iEnd = NM1 / 2 if F == 0 and N1 % 2 == 1 else NM1 / 2 + 1
    dTheta = 2 * Pi / NM1

    x, y, Cu = np.zeros(N1 + 1), np.zeros(N1 + 1), np.zeros(N1 + 1)
    i = np.arange(2, int(iEnd) + 1)
    for Theta, k in ((-(i - 1) * dTheta, i), ((i - 1) * dTheta, N1 + 1 - i)):
        SinT, CosT = np.sin(Theta), np.cos(Theta)
        P = -F * CosT + G * SinT
        r = P + np.sqrt(1 + 2 * F + P * P)
        Dp = np.sqrt(1 + r * r + 2 * r * CosT)
        Dm = np.sqrt(1 + r * r - 2 * r * CosT)
        Rho = Dm / Dp
        with np.errstate(divide="ignore", invalid="ignore"):
            angle = np.arctan(2 * SinT / (r - 1 / r))
        Phi = np.where(r > 1, angle, np.where(SinT <= 0, angle - Pi, angle + Pi))
        Phi = np.where(r == 1, np.where(SinT < 0, -Pi / 2, Pi / 2), Phi)
        RhoM = Rho ** m
        Rho2M = Rho ** (2 * m)
        Den = 1 + Rho2M - 2 * RhoM * np.cos(m * Phi)
        Xm = mA * (1 - Rho2M) / Den
        Ym = 2 * mA * RhoM * np.sin(m * Phi) / Den
        Omega = np.arcsin(CenterRatio * np.sin(Theta + CenterAngle))
        Psi = (Theta - Alfa) - Omega
        Dz = (2 * m / Dp) ** 2 * Rho ** (m - 1) / Den
        V = 2 * (np.sin(Alfa + Beta) + np.sin(Psi)) / Dz
        x[k], y[k], Cu[k] = Xm - XShift, Ym, V * V
    x[1] = x[N1] = Chord
    y[1] = y[N1] = 0
    Cu[1] = Cu[N1] = np.cos(Alfa + Beta) ** 2 / R2 if m == 2 else 0
    return x, y, Cu


def main():
    F, G, m = (float(v) for v in sys.argv[1:4])
    N1, AlfaD = int(sys.argv[4]), float(sys.argv[5])
    x, y, Cu = solve(N1, F, G, m, 1.0, AlfaD)
    print(repr(float(np.sum(x[1:] + y[1:] + Cu[1:]))))


if __name__ == "__main__":
    main()
