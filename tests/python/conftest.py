"""What the tests of the Python module share: vorta-run, run in a folder of its own, and
catalogs written there. CTest sets VORTA_RUN and VORTA_SOURCE_DIR, and PYTHONPATH to the
folder the module is built in."""

import json
import os
import subprocess

import pytest

VORTA_RUN = os.environ["VORTA_RUN"]
SOURCE_DIR = os.environ["VORTA_SOURCE_DIR"]


class Tool:
    """vorta-run in one folder, in the C locale."""

    def __init__(self, folder):
        self.folder = folder

    def run(self, *arguments):
        environment = dict(os.environ, LC_ALL="C")
        environment.pop("LANG", None)
        return subprocess.run([VORTA_RUN, *map(str, arguments)], cwd=self.folder, env=environment,
                              capture_output=True, text=True)

    def output(self, *arguments):
        done = self.run(*arguments)
        assert done.returncode == 0, done.stderr
        return done.stdout

    def json(self, *arguments):
        return json.loads(self.output(*arguments, "--format", "json"))

    def refusal(self, *arguments):
        """The one line vorta-run says on stderr as it refuses."""
        done = self.run(*arguments)
        assert done.returncode == 1, done.stdout
        return done.stderr.strip()

    def catalog(self, records, name="VORTA_Input.txt", leading="1\r\n0\r\n"):
        """Writes a catalog of record lines; returns its path."""
        path = os.path.join(self.folder, name)
        with open(path, "w", newline="") as out:
            out.write(leading + "".join(line + "\r\n" for line in records))
        return path


@pytest.fixture
def tool(tmp_path):
    return Tool(str(tmp_path))


def without_options(message):
    """vorta-run's message less its option names: --points is the argument points."""
    return message.replace("--", "")
