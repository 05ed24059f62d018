"""The README's example runs and draws, and the module says what its type stub says."""

import ast
import os
import pathlib
import shutil
import subprocess
import sys
import textwrap

import matplotlib.image
import numpy as np

import vorta
from conftest import SOURCE_DIR


def readme_example():
    """The indented block of the section "From Python" that saves a picture."""
    text = pathlib.Path(SOURCE_DIR, "README.md").read_text()
    section = text.split("## From Python\n", 1)[1].split("\n## ", 1)[0]
    blocks = [[]]
    for line in section.splitlines() + ["end"]:
        if line.startswith("    ") or (blocks[-1] and not line.strip()):
            blocks[-1].append(line)
        elif blocks[-1]:
            blocks.append([])
    return next(textwrap.dedent("\n".join(b)) for b in blocks if any("savefig" in line for line in b))


def test_the_readme_example_draws_a_picture(tmp_path):
    shutil.copytree(pathlib.Path(SOURCE_DIR, "examples"), tmp_path / "examples")
    environment = dict(os.environ, MPLBACKEND="Agg", MPLCONFIGDIR=str(tmp_path / "matplotlib"))
    done = subprocess.run([sys.executable, "-c", readme_example()], cwd=tmp_path, env=environment,
                          capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    picture = matplotlib.image.imread(tmp_path / "cp.png")
    assert picture.shape[0] > 100 and picture.shape[1] > 100
    # Not blank: a good share of it is drawn, in more than one colour.
    drawn = np.any(picture[:, :, :3] < 0.9, axis=2)
    assert 0.01 < drawn.mean() < 0.5
    assert len(np.unique(picture[:, :, :3].reshape(-1, 3), axis=0)) > 10


def stub_names():
    """{name: members} of the classes of vorta.pyi, with those of their bases, and its functions
    with None."""
    tree = ast.parse(pathlib.Path(SOURCE_DIR, "python", "vorta.pyi").read_text())
    names = {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            inherited = set().union(*(names[base.id] for base in node.bases))
            names[node.name] = inherited | {item.target.id if isinstance(item, ast.AnnAssign) else item.name
                                            for item in node.body
                                            if isinstance(item, (ast.AnnAssign, ast.FunctionDef))} - {"__init__"}
        elif isinstance(node, ast.FunctionDef):
            names[node.name] = None
    return names


def public(names):
    return {name for name in names if not name.startswith("_")}


def test_the_stub_and_the_docstrings_cover_the_module():
    stub = stub_names()
    assert public(dir(vorta)) == set(stub)
    for name, members in stub.items():
        thing = getattr(vorta, name)
        assert thing.__doc__, name
        if members is None:
            continue
        assert public(dir(thing)) == members, name
        for member in members:
            assert getattr(thing, member).__doc__, f"{name}.{member}"
    assert "degrees" in vorta.Section.solve.__doc__ and "chords" in vorta.Section.field.__doc__
