#pragma once

#include <QStringList>

#include <memory>
#include <vector>

namespace kelvocad {

class CadMainWindow;
class CadSession;

// Serves a session's Application object over COM (Windows): in the running object table
// under each ProgID, with a control object "<ProgID>.Control" beside it that answers the
// window services a test drives the program with (planned picks, undo, Escape, ...). While
// the window runs a pick, calls to the Application objects are told to come back later.
class ComCadHost {
public:
    ComCadHost(std::shared_ptr<CadSession> session, CadMainWindow* window);
    ~ComCadHost();
    ComCadHost(const ComCadHost&) = delete;
    ComCadHost& operator=(const ComCadHost&) = delete;

    // Serves every ProgID that is free or already this program's; one another program has
    // registered is left to it. Returns the ProgIDs served and, in skipped, the others with
    // the reason.
    QStringList serve(const QStringList& progIds, QStringList* skipped);
    void close();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kelvocad
