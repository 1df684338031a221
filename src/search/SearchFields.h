#pragma once

namespace search {

// The main window's state that belongs to the search page.
struct SearchFields {
    // The undo group count of StringGrid2's cell undo stack.
    int sgUndoCnt2 = 0;
    // True while a search's loop runs. The loop pumps window messages, and a second search
    // started from inside it would share and delete the first one's selection set.
    bool searchRunning = false;
};

}  // namespace search
