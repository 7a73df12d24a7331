#pragma once

#include "batch/BatchHooks.h"
#include "batch/BatchObserver.h"
#include "batch/BatchRequest.h"
#include "batch/BatchTotals.h"
#include "map/LoadedMap.h"

namespace varnex {

// Converts the inputs of a request with one loaded map: lists them (the files below its
// folders), plans their outputs, then converts several at once on threads over the one pair
// map: each into a file of its own (beside it, in its place), whose outputs are synced and
// placed in groups; or all into one output in their order. A file that fails is told to the
// observer, and the others still convert. Throws Failure when the fonts are not in the map or
// the plan cannot be carried out, RequestFault when that is a fault of the request itself (a
// font name of several fonts or aliases among them); nothing is written then. The observer is told the totals
// at the end, which are returned.
BatchTotals RunBatch(const LoadedMap& map, const BatchRequest& request, BatchObserver& observer,
                     BatchHooks& hooks);

// The same with hooks that do nothing: for callers without signal handlers of their own.
BatchTotals RunBatch(const LoadedMap& map, const BatchRequest& request, BatchObserver& observer);

}  // namespace varnex
