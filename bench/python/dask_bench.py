"""varnex.dask.convert_tree on a LocalCluster of two worker processes against `varnex -r -j2`,
over the same files, in one run: 200 files of 4 MiB of KOI8-R text (other counts and sizes
as arguments), converted beside themselves; each side three times, the outputs removed
before each run, the best run counted.

    PYTHONPATH=build/python /usr/bin/python3 bench/python/dask_bench.py [FILES [MIB]] [--varnex build/bin/varnex]
"""
import argparse
import glob
import os
import random
import shutil
import subprocess
import tempfile
import time

from distributed import Client, LocalCluster

import varnex.dask


def make_files(folder, count, mib):
    random.seed(7)
    letters = bytes(range(0xC0, 0x100))
    block = bytearray()
    while len(block) < 1 << 20:
        word = bytes(random.choice(letters) for _ in range(random.randint(2, 9)))
        block += word + (b"\n" if random.random() < 0.1 else b" ")
    block = bytes(block[: 1 << 20])
    for i in range(count):
        with open(os.path.join(folder, "file%03d.txt" % i), "wb") as out:
            for _ in range(mib):
                out.write(block)


def remove_outputs(folder):
    for path in glob.glob(os.path.join(folder, "*_Windows-1251.txt")):
        os.remove(path)


def best(run, folder):
    times = []
    for _ in range(3):
        remove_outputs(folder)
        start = time.perf_counter()
        run()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("files", nargs="?", type=int, default=200)
    parser.add_argument("mib", nargs="?", type=int, default=4)
    parser.add_argument("--varnex", default=shutil.which("varnex") or "build/bin/varnex")
    args = parser.parse_args()
    folder = tempfile.mkdtemp(prefix="varnex-dask-bench-")
    try:
        make_files(folder, args.files, args.mib)
        command = [args.varnex, "-f", "KOI8-R", "-t", "Windows-1251", "-r", "-j2", "--beside", folder]
        with LocalCluster(n_workers=2, threads_per_worker=1, processes=True) as cluster, Client(cluster):
            def on_dask():
                results = varnex.dask.convert_tree(folder, "KOI8-R", "Windows-1251", beside=True).compute()
                assert all(r["status"] == "converted" for r in results), results[:3]

            dask_time = best(on_dask, folder)
            dask_outputs = {os.path.basename(p): open(p, "rb").read() for p in
                            glob.glob(os.path.join(folder, "*_Windows-1251.txt"))[:5]}
            varnex_time = best(lambda: subprocess.run(command, check=True), folder)
            for name, data in dask_outputs.items():
                assert open(os.path.join(folder, name), "rb").read() == data, name
        print("%d files of %d MiB: varnex -r -j2 %.3f s, convert_tree on 2 workers %.3f s: %.2f x"
              % (args.files, args.mib, varnex_time, dask_time, dask_time / varnex_time))
    finally:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
