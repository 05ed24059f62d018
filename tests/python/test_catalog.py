"""vorta.load_catalog and vorta.check against vorta-run --list, --entry and --check."""

import os
import pathlib
import shutil

import pytest

import vorta
from conftest import SOURCE_DIR, without_options

# Each line's own fault, and at the end a decimal comma, which shifts the numbers of every
# entry after it.
FAULTY = [
    "0.1,0.02,0.3,0,0.1,0.05,2",
    "0.1,0.02,0.3,0,0.1,0.05,2.5",
    "0.1,0.02,0.3,0,abc,0.05,2",
    "0.1,0.02,0.3,0,-0.1,0.05,2",
    "0.1,0.02,0.3,0,0.1,0,1e-10",
    "  0.12 , 0.01,0.3,0,0.12,0.02,1.95  ",
    "0,12,0.02,0.3,0,0.1,0.05,2",
    "0.1,0.02,0.3,0,0.1,0.05,2",
    '"open,0.1,0.02,0.3,0,0.1,2',
]


def check_lines(path, problems):
    """vorta.check's tuples as vorta-run --check prints them."""
    return [f"{path}:{line}: " + (f"entry {entry}: " if entry is not None else "") + what
            for line, entry, what in problems]


def test_the_entries_are_those_vorta_run_lists_and_picks(tool):
    path = tool.catalog(FAULTY)
    entries = vorta.load_catalog(path)
    listed = tool.run("--list", "--input", path)
    assert [f"{e.number}: {e.text}" for e in entries] == listed.stdout.splitlines()
    assert [e.line for e in entries] == list(range(3, 3 + len(entries)))
    assert [e.number for e in entries if e.problem] == [2, 3, 4, 7, 8]
    for e in entries:
        if e.problem:
            assert e.problem == tool.refusal("--entry", e.number, "--input", path)
            with pytest.raises(ValueError) as refused:
                e.section()
            assert str(refused.value) == e.problem
        else:
            fields = tool.json("--entry", e.number, "--input", path, "--points", "2")["entry"]["fields"]
            assert {name: getattr(e, name) for name in fields} == fields
            assert (e.section().F, e.section().G, e.section().m) == (e.F, e.G, e.m)


def test_the_sample_catalog_lists_as_vorta_run_lists_it(tool):
    path = pathlib.Path(SOURCE_DIR, "examples", "VORTA_Input.txt")
    entries = vorta.load_catalog(path)
    assert [f"{e.number}: {e.text}" for e in entries] == \
        tool.output("--list", "--input", path).splitlines()
    assert all(e.problem is None for e in entries) and vorta.check(path) == []
    assert repr(entries[2]) == "<vorta.Entry 3: 0.1180,0.0227,0.2523,0,0.1,0.05,2>"


@pytest.mark.parametrize("inputs", [(), ("--points", "3", "--alpha", "2"), ("--points", "1000000")])
def test_check_gives_the_lines_of_vorta_run_check(tool, inputs):
    path = tool.catalog(FAULTY)
    done = tool.run("--check", "--input", path, *inputs)
    assert done.returncode == 1
    arguments = dict(zip(("points", "alpha"), map(float, inputs[1::2])))
    problems = vorta.check(path, **{k: int(v) if k == "points" else v for k, v in arguments.items()})
    assert check_lines(path, problems) == done.stdout.splitlines()
    assert any(entry is None for _, entry, _ in problems)


def test_files_vorta_run_cannot_read_are_refused_in_its_words(tool):
    folder = pathlib.Path(tool.folder)
    (folder / "short.txt").write_text("1\n")
    (folder / "folder").mkdir()
    for name in ("missing.txt", "short.txt", "folder"):
        said = tool.refusal("--list", "--input", name)
        for call in (vorta.load_catalog, vorta.check):
            with pytest.raises(ValueError) as refused:
                call(os.path.join(tool.folder, name))
            assert str(refused.value) == said.replace(name, os.path.join(tool.folder, name))


def test_check_refuses_the_inputs_vorta_run_check_refuses(tool):
    path = tool.catalog(FAULTY[:1])
    for inputs, keywords in ((("--points", "1"), {"points": 1}), (("--alpha", "1e308"), {"alpha": 1e308})):
        said = tool.refusal("--check", "--input", path, *inputs)
        with pytest.raises(ValueError) as refused:
            vorta.check(path, **keywords)
        assert str(refused.value) == without_options(said)


def test_a_catalog_in_another_folder_names_its_own_file(tool, tmp_path_factory):
    other = tmp_path_factory.mktemp("elsewhere") / "mine.txt"
    shutil.copy(tool.catalog(FAULTY), other)
    assert vorta.load_catalog(other)[6].problem.startswith(
        "Airfoil entry 7 cannot be calculated: line 9 of mine.txt holds 8 fields.")
