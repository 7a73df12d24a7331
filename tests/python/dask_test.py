#!/usr/bin/python3
"""varnex.dask on a cluster of two worker processes: the outputs are those of `varnex -r`, byte
for byte; a file that fails is told and the others convert; a second run converts nothing again.

    dask_test.py VARNEX_PROGRAM WORK_FOLDER   (PYTHONPATH names the module)
"""
import filecmp
import os
import shutil
import subprocess
import sys

from distributed import Client, LocalCluster

import varnex.dask

PROGRAM, WORK = sys.argv[1], sys.argv[2]


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def make_tree(root):
    text = "Съешь же еще этих мягких французских булок. ".encode("varnex:CP866")
    for folder in ("a", "a/b", "c"):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        for i in range(5):
            with open(os.path.join(root, folder, "t%d.txt" % i), "wb") as file:
                file.write(text * (200 * (i + 1)))
    with open(os.path.join(root, "c", "unreadable.txt"), "wb") as file:
        file.write(text)
    os.chmod(os.path.join(root, "c", "unreadable.txt"), 0)
    with open(os.path.join(root, "c", "damaged.docx"), "wb") as file:
        file.write(b"PK\x03\x04 a package cut short")


def main():
    ours, theirs = os.path.join(WORK, "ours"), os.path.join(WORK, "theirs")
    make_tree(ours)
    make_tree(theirs)
    subprocess.run([PROGRAM, "-f", "CP866", "-t", "UTF-8", "-r", "--beside", theirs], capture_output=True)
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as client:
        results = varnex.dask.convert_tree(ours, "CP866", "UTF-8", beside=True, partition_size=4).compute()
        statuses = sorted(r["status"] for r in results)
        unreadable = [r for r in results if r["input"].endswith("unreadable.txt")]
        if os.geteuid() != 0:  # root reads a file of mode 0 all the same
            if not unreadable or unreadable[0]["status"] != "failed" or not unreadable[0]["message"]:
                fail("the unreadable file was not told: %r" % unreadable)
        damaged = [r for r in results if r["input"].endswith("damaged.docx")]
        if not damaged or damaged[0]["status"] != "failed" or "damaged.docx" not in (damaged[0]["message"] or ""):
            fail("the damaged document was not told: %r" % damaged)
        if statuses.count("converted") < 15:
            fail("not every file converted: %r" % statuses)
        for folder, _, names in os.walk(theirs):
            for name in names:
                if name.endswith("_UTF-8.txt"):
                    mine = os.path.join(ours, os.path.relpath(folder, theirs), name)
                    if not filecmp.cmp(mine, os.path.join(folder, name), shallow=False):
                        fail("%s differs from the output of varnex -r" % mine)
        again = varnex.dask.convert_tree(ours, "CP866", "UTF-8", beside=True).compute()
        if any(r["status"] == "converted" for r in again):
            fail("a second run converted again: %r" % [r for r in again if r["status"] == "converted"])
        mirrored = os.path.join(WORK, "mirror")
        results = varnex.dask.convert_tree(ours, "CP866", "KOI8-R", output=mirrored).compute()
        if not os.path.exists(os.path.join(mirrored, "ours", "a", "b", "t0.txt")):
            fail("the output folder does not mirror the tree: %r" % results[:2])
    print("dask: %d files on two workers, equal to varnex -r; a second run converted nothing" % len(results))


if __name__ == "__main__":  # the workers start in processes of their own
    main()
