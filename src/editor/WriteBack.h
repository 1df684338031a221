#pragma once

#include "automation/Object.h"
#include "editor/records/Kelvo.h"

#include <vector>

namespace editor {

class LineEditorHost;
struct LineEditorContext;

// The number of editor lines without the blank ones at the end.
int EffectiveLineCount(const LineEditorHost& host);

// The entity new TEXTs are copied from: the last record, going backwards, whose handle
// still resolves. True when one was found or, while some record has a handle, an earlier
// template is still held; a handle that no longer resolves is passed over rather than ending
// the search. False when no record has a handle.
bool FindTemplateEntity(automation::Object& document, const std::vector<Kelvo>& TextEntities,
                        automation::ObjectRef& templateEntity);

// "更新(Ctrl+Enter)": writes line i to the entity of record i in one CAD undo group. In a
// TEXT editor blank lines delete, lines without an entity re-create, lines past the records
// add TEXTs on the dX/dY step and records past the lines lose their TEXTs; in attribute
// mode only values are written.
void SpeedButton2Click(LineEditorContext& context);

}  // namespace editor
