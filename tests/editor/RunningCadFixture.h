#pragma once

#include "automation/InProcessRunningObjects.h"
#include "cadlink/CadConnection.h"
#include "cadlink/FakeWindowServices.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/CadSession.h"
#include "kelvocad/objects/ScriptedPicker.h"

#include <gtest/gtest.h>

#include <memory>

namespace cadlink::test {

// An empty KelvoCAD drawing running in this process under the default ProgID, and the
// CadLink through which the page fixtures' operations reach it, with fake window services.
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
};

}  // namespace cadlink::test
