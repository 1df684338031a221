#pragma once

#include "cadlink/CadConnection.h"
#include "editor/Kelvo2.h"
#include "search/SearchFields.h"
#include "search/SearchHost.h"

#include <vector>

namespace search {

// Everything the search page's operations work on: the CAD, the page, the hits and the
// page's fields. All members are owned elsewhere.
struct SearchContext {
    const cadlink::CadLink& link;
    SearchHost& host;
    std::vector<editor::Kelvo2>& SearchHits;
    SearchFields& fields;
};

}  // namespace search
