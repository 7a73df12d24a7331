"""Archives too large for one machine, converted on a Dask cluster.

    from distributed import Client
    import varnex.dask

    client = Client("tcp://scheduler:8786")          # or Client(LocalCluster()) on one machine
    results = varnex.dask.convert_tree("/archive", "CP866", "UTF-8", beside=True).compute()
    failed = [r for r in results if r["status"] == "failed"]

The files are listed as `varnex -r` lists them (text and word documents, an earlier run's
outputs left out) and converted on the workers, each through the engine's safe output: a new
file appears only once complete. A file whose output exists already is "done" and is not
converted again, so a job that was cut short is simply run once more.
"""

import functools as _functools
import os as _os

import dask.bag as _bag

import varnex as _varnex
from varnex import _varnex as _native

__all__ = ["convert_tree"]


@_functools.lru_cache(maxsize=4)
def _map_at(map_path):
    """The map at `map_path` (None: the shipped one), read once per worker process."""
    return _varnex.Map(map_path) if map_path else None


def _plan(inputs, source, target, kind, output, map_path):
    """(input, output, fault) of each file, as the engine plans them."""
    native_map = (_map_at(map_path) or _varnex.Map())._native
    return _native.plan_batch(native_map, source, target, inputs, output, kind, True, False)


def _convert_one(job, source, target, map_path, options):
    input, output, fault = job
    if fault is not None and _os.path.exists(output) and not _os.path.isdir(output):
        return {"input": input, "output": output, "status": "done", "message": None}
    if fault is not None:
        return {"input": input, "output": output, "status": "failed", "message": fault}
    map = _map_at(map_path)
    parent = _os.path.dirname(output)
    if parent:
        _os.makedirs(parent, exist_ok=True)
    result = _varnex.convert_batch([input], source, target, output=output, map=map, **options)
    if result["failed"] or result["error"]:
        message = result["error"] or "; ".join(result["messages"])
        return {"input": input, "output": output, "status": "failed", "message": message}
    return {"input": input, "output": output, "status": "converted", "message": None,
            "bytes": result["bytes"], "dropped": result["dropped"]}


def convert_tree(folder_or_paths, source, target, beside=False, output=None, map=None, partition_size=16,
                 **options):
    """A dask.bag of per-file results: every file below a folder (or each of a list of paths and
    the files below its folders) converted from `source` to `target` on the cluster's workers.

    beside=True writes NAME_TARGET.txt beside each file (a document keeps its extension), as
    `varnex -r --beside`; output=FOLDER writes each file's conversion under FOLDER, at its place
    in the tree. `map` is the path of a map that every worker can read (None: the shipped map).
    Other options (strict=True) are those of varnex.convert_batch.

    Each result is a dict: input, output, status ("converted", "done" when its output exists
    already, or "failed") and message. A failing file never stops the others."""
    if bool(beside) == (output is not None):
        raise ValueError("give beside=True or output=FOLDER")
    # the workers are the parallelism: a file takes one thread of its worker, as a task does
    options.setdefault("jobs", 1)
    roots = [folder_or_paths] if isinstance(folder_or_paths, (str, _os.PathLike)) else list(folder_or_paths)
    roots = [_os.fspath(root) for root in roots]
    map_path = None if map is None else _os.fspath(map)
    planned = _plan(roots, source, target, "beside", "", map_path)
    if output is not None:
        planned = [(input, _mirrored(input, roots, _os.fspath(output)), None) for input, _, _ in planned]
        planned = [(input, out, "exists already" if _os.path.exists(out) else None) for input, out, _ in planned]
    bag = _bag.from_sequence(planned, partition_size=partition_size)
    if output is None:
        return bag.map_partitions(_convert_beside, source, target, map_path, options)
    return bag.map(_convert_one, source, target, map_path, options)


def _convert_beside(jobs, source, target, map_path, options):
    """A partition's files beside themselves, as one batch: the engine syncs their outputs as a
    group, as `varnex -r` does, instead of one file at a time. A file whose output then exists
    was converted; the others failed with the batch's message that names them."""
    results, inputs = [], []
    for input, output, fault in jobs:
        if fault is None:
            inputs.append((input, output))
        else:
            results.append(_convert_one((input, output, fault), source, target, map_path, options))
    if not inputs:
        return results
    batch = _varnex.convert_batch([input for input, _ in inputs], source, target, beside=True,
                                  map=_map_at(map_path), **options)
    for input, output in inputs:
        if _os.path.exists(output):
            results.append({"input": input, "output": output, "status": "converted", "message": None})
            continue
        told = [m for m in batch["messages"] if m.startswith(input + ":") or (input + ":") in m]
        message = told[0] if told else batch["error"] or "not converted"
        results.append({"input": input, "output": output, "status": "failed", "message": message})
    return results


def _mirrored(input, roots, output):
    """Where `input` goes under `output`: at its place below the root it was found under."""
    for root in roots:
        if _os.path.isdir(root):
            relative = _os.path.relpath(input, root)
            if not relative.startswith(".."):
                return _os.path.join(output, _os.path.basename(_os.path.normpath(root)), relative)
    return _os.path.join(output, _os.path.basename(input))
