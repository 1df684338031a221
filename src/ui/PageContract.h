#pragma once

#include "ui/DefaultErrorHandler.h"
#include "ui/UserMessages.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

// What the contract speaks of comes from the core rooms below and from the window's layout;
// declaring it here keeps the foundation free of them, and a page that uses a member
// includes what it needs.
namespace Ui {
class TKelvoMainForm;
}

namespace cadlink {
struct CadLink;
}

namespace editor {
struct EntityArrays;
struct LineEditorFields;
}  // namespace editor

namespace textops {
enum class ReplaceCommand;
struct TikanFields;
}  // namespace textops

namespace ui {

// The main window as its pages see it: the controls of its layout, the state the pages share
// and the services every handler needs. The main window implements it; a page, and the text
// commands, hold this and never the window's own class, so the window may include them.
class PageContract {
public:
    virtual ~PageContract() = default;

    // Cleared by the Stop buttons of every page; long loops test it after each entity.
    bool runFlag = false;

    // The window's layout, whose controls keep the names the handlers are named after.
    virtual Ui::TKelvoMainForm& controls() = 0;
    // The window itself: the owner of the dialogs, and where the popup menus are found by name.
    virtual QWidget& mainWindow() = 0;
    virtual UserMessages& messages() = 0;
    virtual DefaultErrorHandler& errors() = 0;
    // The link to the target CAD application named by TargetProgID now; throws when the
    // automation has not been set.
    virtual cadlink::CadLink cadLink() const = 0;

    // The records of all three pages. The line editor's fields hold ATTmode and the mark of
    // a running CAD operation, which every page shares.
    virtual editor::EntityArrays& entities() = 0;
    virtual editor::LineEditorFields& lineEditorFields() = 0;

    virtual QString statusPanelText(int panel) const = 0;
    virtual void setStatusPanelText(int panel, const QString& text) = 0;

    // The replace dialog every page shares: its fields are first filled from prefillSource
    // the way command fills them (left as they are without one). The confirmed fields, or
    // nothing when the dialog was cancelled.
    virtual std::optional<textops::TikanFields> runReplaceDialog(textops::ReplaceCommand command,
                                                                 const std::optional<std::u16string>& prefillSource) = 0;
};

}  // namespace ui
