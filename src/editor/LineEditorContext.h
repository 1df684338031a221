#pragma once

#include "cadlink/CadConnection.h"
#include "editor/LineEditorHost.h"
#include "editor/records/Kelvo.h"
#include "editor/records/LineEditorFields.h"

#include <vector>

namespace editor {

// Everything the line editor's operations work on: the CAD, the page, the records and the
// main window's fields. All members are owned elsewhere (by the main window).
struct LineEditorContext {
    const cadlink::CadLink& link;
    LineEditorHost& host;
    std::vector<Kelvo>& TextEntities;
    LineEditorFields& fields;
};

}  // namespace editor
