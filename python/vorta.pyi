"""Karman-Trefftz and Joukowsky sections in closed form, exact to the bit of vorta-run.

Lengths are in chords, angles in degrees. Inputs vorta-run refuses raise ValueError with its
message, less its option names.
"""

import os
from typing import Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

FloatArray = npt.NDArray[np.float64]
ArrayLike = npt.ArrayLike

class Section:
    """A Karman-Trefftz section (the Joukowsky section at m = 2), in chords."""

    F: float
    """Thickness: the circle's centre lies F left of the mapping plane's origin (0 or more)."""
    G: float
    """Camber: the height of the circle's centre."""
    m: float
    """The mapping's exponent, above 0 and at most 2; 2 is the Joukowsky section."""

    def __init__(self, F: float, G: float, m: float) -> None:
        """Raises ValueError, with vorta-run's message, for a section that cannot be calculated."""
    def solve(self, alpha: float, points: int = 51) -> Solution:
        """The exact solution at alpha degrees at `points` points (2 to 1000000) around the contour."""
    def polar(self, alphas: Sequence[float] | FloatArray) -> Polar:
        """CL, CMc/4 and Alfa0 at each angle of alphas, degrees."""
    def field(self, x: ArrayLike, y: ArrayLike, alpha: float) -> Field:
        """The flow at the points (x, y), chords, at alpha degrees; NaN inside the section."""
    def grid(self, NI: int, NJ: int, R: float = 100, alpha: float = 0) -> Grid:
        """The conformal O-grid of NI nodes around (3 or more) and NJ rings (2 or more; NI x NJ at most
        10000000), its outer ring R chords from the section (0.001 to 1000000), with the exact flow at
        alpha degrees at its nodes."""

class Solution:
    """The exact solution at one angle: points from the trailing edge along the lower surface to
    the nose and back along the upper surface; the last point repeats the first."""

    N1: int
    """The number of points."""
    AlfaD: float
    """The angle of attack, degrees."""
    CL: float
    """The lift coefficient."""
    CMc4: float
    """The moment coefficient about the quarter-chord point, positive nose-up."""
    Alfa0: float
    """The zero-lift angle, degrees."""
    x: FloatArray
    """x of each point, chords from the nose."""
    y: FloatArray
    """y of each point, chords."""
    Cu: FloatArray
    """1 - Cp: the squared ratio of the surface speed to the free stream's."""
    Cp: FloatArray
    """The pressure coefficient at each point."""

class Polar:
    """The coefficients of a section over angles of attack."""

    AlfaD: FloatArray
    """The angles of attack, degrees."""
    CL: FloatArray
    CMc4: FloatArray
    Alfa0: FloatArray
    """The zero-lift angle, degrees."""

class Field:
    """The potential flow per unit free-stream speed and chord, arrays shaped as x and y
    broadcast; NaN where a point has no value (inside the section)."""

    AlfaD: float
    """The angle of attack, degrees."""
    u: FloatArray
    """The velocity along x; the free stream is (cos alpha, sin alpha)."""
    v: FloatArray
    """The velocity along y."""
    Cp: FloatArray
    """The pressure coefficient, 1 - u^2 - v^2."""
    psi: FloatArray
    """The stream function, zero on the section's surface."""

class Grid:
    """A body-fitted O-grid with the exact flow at its nodes, arrays of shape (NJ, NI): row j is
    ring j (0 the section's surface), column i runs from the trailing edge along the lower surface,
    the nose and the upper surface; column NI - 1 repeats column 0."""

    NI: int
    """The number of nodes around each ring."""
    NJ: int
    """The number of rings."""
    R: float
    """How far the outer ring's nearest point lies from the section, chords."""
    AlfaD: float
    """The angle of attack, degrees."""
    outer_ratio: float
    """The outer ring's radius over the circle's, in the circle plane."""
    square_NJ: int
    """The NJ that makes the cells square with this NI and R."""
    x: FloatArray
    """x of each node, chords."""
    y: FloatArray
    """y of each node, chords."""
    u: FloatArray
    """The velocity along x per unit free-stream speed."""
    v: FloatArray
    """The velocity along y per unit free-stream speed."""
    Cp: FloatArray
    """The pressure coefficient, 1 - u^2 - v^2."""
    psi: FloatArray
    """The stream function per unit free-stream speed and chord, 0 on ring 0."""

class Entry:
    """One airfoil of a catalog file."""

    number: int
    """Its number, from 1, as vorta-run --entry takes it."""
    line: int
    """The file line its text stands on, from 1."""
    text: str
    """Its line as vorta-run --list shows it."""
    problem: Optional[str]
    """None, or the refusal picking it gives."""
    Delta: float
    """The largest thickness, chords (descriptive)."""
    Gama: float
    """The largest camber, chords (descriptive)."""
    xDltC: float
    """Where the thickness is largest, chords from the nose (descriptive)."""
    Tau: float
    """The trailing-edge angle, degrees (descriptive)."""
    F: float
    G: float
    m: float

    def section(self) -> Section:
        """Its Section; raises ValueError with `problem` where it has one."""

class Comparison:
    """Another code's Cp against the exact one, a row a point compared."""

    index: npt.NDArray[np.intp]
    """Each row's index in the arrays given."""
    x: FloatArray
    surface: npt.NDArray[np.str_]
    """'upper' or 'lower'."""
    Cp_file: FloatArray
    Cp_exact: FloatArray
    dCp: FloatArray
    """Cp_file - Cp_exact."""
    skipped: list[tuple[int, float, str]]
    """The points not compared: (index, x, why)."""
    notes: list[str]
    """How the Cp of each run of points decided its surface."""

class Norms:
    """The norms of the difference d between a column and the exact values."""

    L1: float
    """mean |d|"""
    L2: float
    """sqrt(mean d^2)"""
    Linf: float
    """max |d|"""

class FieldComparison:
    """Another code's flow field against the exact one."""

    points: int
    """The number of points compared: those outside the section."""
    inside: npt.NDArray[np.intp]
    """The flat indices of the points inside the section, not compared."""
    norms: dict[str, Norms]
    """The Norms of each column given, by name (u, v, Cp, psi); psi's after the mean of d is taken off."""

class Description:
    """A section with what it measures, as a catalog line gives both."""

    section: Section
    """The Section."""
    Delta: float
    """The largest thickness, chords."""
    Gama: float
    """The camber of largest magnitude, chords, with its sign."""
    xDltC: float
    """Where the thickness is largest, chords from the nose."""
    Tau: float
    """The trailing-edge angle, degrees."""
    line: str
    """The catalog line Delta,Gama,xDltC,Tau,F,G,m as vorta-run prints it."""

class Transform:
    """A section point (x, y) lies at scale * R(turn) (x, y) + (shift_x, shift_y) among the points."""

    scale: float
    """The points' units per chord."""
    turn: float
    """Degrees, counterclockwise."""
    shift_x: float
    """The points' units."""
    shift_y: float
    """The points' units."""

class Fit(Description):
    """The section nearest a contour's points."""

    largest_distance: float
    """The largest distance from a point to the moved section, chords of the section."""
    rms_distance: float
    """The root mean square of the points' distances to the moved section, chords."""
    transform: Transform
    """How the section is moved onto the points."""

def load_catalog(path: Union[str, os.PathLike[str]]) -> list[Entry]:
    """The entries of the catalog file at path, in order."""

def check(path: Union[str, os.PathLike[str]], points: int = 51, alpha: float = 0.0) -> list[tuple[int, Optional[int], str]]:
    """The lines vorta-run --check prints, as (line, entry, what); entry None for a line no entry comes from."""

def compare(section: Section, alpha: float, x: ArrayLike, Cp: ArrayLike, y: Optional[ArrayLike] = None) -> Comparison:
    """Cp at x (and y) against the exact solution of section at alpha degrees, as vorta-run --compare."""

def compare_field(section: Section, alpha: float, x: ArrayLike, y: ArrayLike, *,
                  u: Optional[ArrayLike] = None, v: Optional[ArrayLike] = None,
                  Cp: Optional[ArrayLike] = None, psi: Optional[ArrayLike] = None) -> FieldComparison:
    """The norms of each column given (one or more, arrays of the shape of x and y) against the
    exact flow of section at alpha degrees, as vorta-run --compare-field."""

def describe(section: Section) -> Description:
    """What the section measures and its catalog line, as vorta-run --describe."""

def design(thickness: float, camber: float, te_angle: float) -> Description:
    """The section of a largest thickness and a camber, chords, and a trailing-edge angle,
    degrees, as vorta-run --design."""

def fit(x: ArrayLike, y: ArrayLike) -> Fit:
    """The section nearest the points (41 to 5000, XFOIL's order, any unit), as vorta-run --fit."""
