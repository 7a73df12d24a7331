#!/usr/bin/python3
"""Runs the examples of docs/library.md as they stand: the C one compiled against the header
in the build, the Python ones with the module of the build.

    library_examples_test.py SOURCE_DIR BUILD_DIR
"""
import os
import re
import subprocess
import sys
import tempfile

source, build = sys.argv[1], sys.argv[2]
with open(os.path.join(source, "docs", "library.md"), encoding="utf-8") as file:
    blocks = re.findall(r"```(c|python)\n(.*?)```", file.read(), re.S)
if [kind for kind, _ in blocks].count("c") < 1 or [kind for kind, _ in blocks].count("python") < 2:
    sys.exit("FAILED: the page lost its examples")
environment = dict(os.environ, PYTHONPATH=os.path.join(build, "python"),
                   LD_LIBRARY_PATH=os.path.join(build, "bin"))
with tempfile.TemporaryDirectory() as work:
    for number, (kind, code) in enumerate(blocks):
        if kind == "c":
            program = os.path.join(work, "example%d" % number)
            with open(program + ".c", "w") as file:
                file.write(code)
            subprocess.run(["cc", "-std=c11", "-Wall", "-Werror", program + ".c", "-I", os.path.join(source, "include"),
                            "-L", os.path.join(build, "bin"), "-lvarnex", "-o", program], check=True)
            command = [program]
        else:
            command = ["/usr/bin/python3", "-c", code]
        run = subprocess.run(command, env=environment, capture_output=True, text=True, timeout=240)
        if run.returncode != 0:
            sys.exit("FAILED: example %d (%s):\n%s%s" % (number, kind, run.stdout, run.stderr))
        print(run.stdout, end="")
print("docs/library.md: %d examples run" % len(blocks))
