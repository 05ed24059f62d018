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

def load_catalog(path: Union[str, os.PathLike[str]]) -> list[Entry]:
    """The entries of the catalog file at path, in order."""

def check(path: Union[str, os.PathLike[str]], points: int = 51, alpha: float = 0.0) -> list[tuple[int, Optional[int], str]]:
    """The lines vorta-run --check prints, as (line, entry, what); entry None for a line no entry comes from."""

def compare(section: Section, alpha: float, x: ArrayLike, Cp: ArrayLike, y: Optional[ArrayLike] = None) -> Comparison:
    """Cp at x (and y) against the exact solution of section at alpha degrees, as vorta-run --compare."""
