#pragma once

#include "automation/InProcessRunningObjects.h"
#include "cadlink/CadConnection.h"
#include "cadlink/FakeWindowServices.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace cadlink::test {

// An empty KelvoCAD drawing running in this process under the default ProgID, the CadLink
// through which the page fixtures' operations reach it, with fake window services, and the
// check that an operation left exactly one undo step.
class RunningCadFixture : public ::testing::Test {
protected:
    std::shared_ptr<kelvocad::CadSession> session = kelvocad::CadSession::create(std::make_shared<kelvocad::Drawing>());
    automation::InProcessRunningObjects runningObjects;
    fakes::FakeWindowServices windows;
    fakes::FakeOwnWindow ownWindow{windows.log, 7};
    CadLink link{runningObjects, windows, ownWindow, u"BricscadApp.AcadApplication"};

    void SetUp() override
    {
        windows.ownWindow = 7;
        session->applicationWindow = 99;
        runningObjects.announce(link.progId, session->application());
    }

    kelvocad::Drawing& drawing() { return session->drawing(); }
    kelvocad::ScriptedPicker& picker() { return *session->scriptedPicker(); }

    // Everything in the drawing the operations under test may change, as lines to compare.
    virtual std::vector<std::string> snapshot() = 0;

    // The drawing as it is now, with the undo history emptied so that a later undo can only
    // take back what the operation under test did.
    std::vector<std::string> markDrawing()
    {
        drawing().clearUndo();
        return snapshot();
    }

    // One CAD undo takes the drawing back to `before`, and there was nothing else to undo.
    void expectOneUndoRestores(const std::vector<std::string>& before)
    {
        EXPECT_EQ(drawing().journal().markDepth(), 0) << "undo group left open";
        EXPECT_TRUE(session->undoLastStep());
        EXPECT_EQ(snapshot(), before);
        EXPECT_FALSE(session->undoLastStep()) << "the operation took more than one undo step";
    }
};

}  // namespace cadlink::test
