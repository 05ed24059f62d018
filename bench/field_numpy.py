"""The flow field's closed form on numpy arrays: the peer of bench/field_whole_process.sh.
Evaluates u, v, Cp and psi at N points spread about the section and prints the median time of
five evaluations; writes the same points as raw doubles (all x, then all y) and as text lines
of x y, for vorta's evaluation and vorta-run --field to take the same arrays.
    python3 field_numpy.py F G m AlfaD N POINTS.raw POINTS.txt
"""
import sys
import time

import numpy as np


def field(F, G, m, AlfaD, x, y):
    Alfa = AlfaD * np.pi / 180
    A = (1 - (F / (1 + F)) ** m) / (2 * m)
    mA = m * A
    XShift = mA - 1
    R2 = (1 + F) ** 2 + G ** 2
    R = np.sqrt(R2)
    Beta = np.arctan(G / (1 + F))
    Gamma = 4 * np.pi * R * A * np.sin(Alfa + Beta)
    c = complex(-F, G)
    z = x + XShift + 1j * y
    w = (z - mA) / (z + mA)
    best_q = np.zeros_like(w)
    best_exterior = np.full(x.shape, -np.inf)
    for k in (-1, 0, 1):
        angle = (np.angle(w) + 2 * np.pi * k) / m
        q = np.abs(w) ** (1 / m) * np.exp(1j * angle)
        zeta = (1 + q) / (1 - q)
        exterior = np.abs(zeta - c) ** 2 - R2
        take = (angle > -np.pi) & (angle <= np.pi) & (exterior > best_exterior)
        best_q = np.where(take, q, best_q)
        best_exterior = np.where(take, exterior, best_exterior)
    q = best_q
    zeta = (1 + q) / (1 - q)
    s = zeta - c
    dPhi = A * (np.exp(-1j * Alfa) - R2 * np.exp(1j * Alfa) / s ** 2) + 1j * Gamma / (2 * np.pi * s)
    dz = 4 * m * m * A * q ** (m - 1) / ((zeta + 1) ** 2 * (1 - w) ** 2)
    velocity = dPhi / dz
    Phi = A * (np.exp(-1j * Alfa) * s + R2 * np.exp(1j * Alfa) / s) + 1j * Gamma / (2 * np.pi) * np.log(s)
    u, v = velocity.real, -velocity.imag
    inside = best_exterior < 0
    u[inside] = np.nan
    v[inside] = np.nan
    Cp = 1 - u * u - v * v
    psi = np.where(inside, np.nan, Phi.imag - Gamma / (2 * np.pi) * np.log(R))
    return u, v, Cp, psi


def main():
    F, G, m, AlfaD = (float(v) for v in sys.argv[1:5])
    N = int(sys.argv[5])
    rng = np.random.default_rng(1)
    x = rng.uniform(-2, 3, N)
    y = rng.uniform(-2, 2, N)
    np.concatenate([x, y]).tofile(sys.argv[6])
    np.savetxt(sys.argv[7], np.c_[x, y], fmt="%.17g")
    times = []
    for _ in range(5):
        start = time.perf_counter()
        field(F, G, m, AlfaD, x, y)
        times.append(time.perf_counter() - start)
    print(f"numpy             {sorted(times)[2] * 1000:8.1f} ms")


if __name__ == "__main__":
    main()
