// Every CAD operation of the three pages, started by the user's click or key in the real main
// window, against KelvoCAD over the local socket while the drawing host misbehaves: an
// entity erased after it was read, a member that fails, a host busy for three seconds, a
// host that dies halfway, a pick the user cancels. Whatever happens, the user hears what
// the operation is meant to say (or nothing), the CAD undo group is closed, the text the
// user typed is still there, and the window is back at rest and answers input.
#include "ServedMainForm.h"

#include "automation/AutomationError.h"
#include "cadlink/TargetProgID.h"
#include "common/Utf.h"
#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QLineEdit>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

namespace faults {
namespace {

using kelvocad::CadSession;
using kelvocad::FaultInjector;
using kelvocad::MemberAccess;

enum class Op {
    TextAcquisition,
    AttrAcquisition,
    GridAcquisition,
    WriteBack,
    CtrlEnterWriteBack,
    Align,
    AlignEdit2Enter,
    GridUpdate,
    GridEnter,
    Search,
    SearchEnter,
    SearchUpdate,
    CaretZoom,
    GridCellZoom,
    SearchHitZoom,
};

enum class Fault {
    EntityErased,      // between acquisition (or pick) and the read or write
    EntityMemberFails, // one member of one entity fails
    BatchMemberFails,  // a member of the document or the operation's frame fails
    Busy3s,            // the host turns calls away for three seconds, then answers
    HostKilled,        // the host dies halfway through
    PickCancelled,
};

struct Case {
    Op op;
    Fault fault;
};

const char* name(Op op)
{
    switch (op) {
    case Op::TextAcquisition: return "TextAcquisition";
    case Op::AttrAcquisition: return "AttrAcquisition";
    case Op::GridAcquisition: return "GridAcquisition";
    case Op::WriteBack: return "WriteBack";
    case Op::CtrlEnterWriteBack: return "CtrlEnterWriteBack";
    case Op::Align: return "Align";
    case Op::AlignEdit2Enter: return "AlignEdit2Enter";
    case Op::GridUpdate: return "GridUpdate";
    case Op::GridEnter: return "GridEnter";
    case Op::Search: return "Search";
    case Op::SearchEnter: return "SearchEnter";
    case Op::SearchUpdate: return "SearchUpdate";
    case Op::CaretZoom: return "CaretZoom";
    case Op::GridCellZoom: return "GridCellZoom";
    case Op::SearchHitZoom: return "SearchHitZoom";
    }
    return "?";
}

const char* name(Fault fault)
{
    switch (fault) {
    case Fault::EntityErased: return "EntityErased";
    case Fault::EntityMemberFails: return "EntityMemberFails";
    case Fault::BatchMemberFails: return "BatchMemberFails";
    case Fault::Busy3s: return "Busy3s";
    case Fault::HostKilled: return "HostKilled";
    case Fault::PickCancelled: return "PickCancelled";
    }
    return "?";
}

void PrintTo(const Case& c, std::ostream* os)
{
    *os << name(c.op) << " under " << name(c.fault);
}

bool isAcquisition(Op op)
{
    return op == Op::TextAcquisition || op == Op::AttrAcquisition || op == Op::GridAcquisition;
}

bool usesSearch(Op op)
{
    return op == Op::Search || op == Op::SearchEnter || op == Op::SearchUpdate || op == Op::SearchHitZoom;
}

const QString kWriteBackFailed = QStringLiteral("plain: エラーのため、更新を中止しました．");
const QString kAlignFailed = QStringLiteral("plain: エラーのため、更新処理を中止しました．");
const QString kAnyError = QStringLiteral("error: *");
const QStringList kUserLines{u"mine 1"_qs, u"mine 2"_qs};
const QStringList kEditedLines{u"T1x"_qs, u"T2x"_qs, u"T3x"_qs, u"T4x"_qs};
const QString kGroup = QStringLiteral("テスト,A,B");

class FaultMatrix : public ServedMainForm, public ::testing::WithParamInterface<Case> {
protected:
    // TEXTs T1..T4 in a column 10 apart; three devices with attributes A and B.
    std::vector<std::u16string> texts;
    std::vector<std::u16string> devices;
    DrawingLines before;
    QStringList searchRowsBefore;

    void SetUp() override
    {
        ServedMainForm::SetUp();
        if (HasFatalFailure())
            return;
        for (int i = 0; i < 4; ++i)
            texts.push_back(addText(u"T" + common::fromAscii(std::to_string(i + 1)), 0.0, 40.0 - 10.0 * i));
        devices = addDevices({{u"A1", u"B1"}, {u"A2", u"B2"}, {u"A3", u"B3"}});
        ui->CheckBox9->setChecked(false);
        ui->CheckBox6->setChecked(false);
        ui->CheckBox7->setChecked(true);
        ui->CheckBox5->setChecked(true);
        ui->CheckBox8->setChecked(true);
        if (ui->ComboBox2->findText(kGroup) < 0)
            ui->ComboBox2->addItem(kGroup);
        ui->ComboBox2->setCurrentIndex(ui->ComboBox2->findText(kGroup));
        ui->ComboBox1->setEditText(QStringLiteral("A"));
    }

    std::u16string attributeHandle(size_t device, size_t index)
    {
        std::u16string handle;
        inServer([&](CadSession& s) {
            handle = s.drawing().findBlockReference(devices[device])->attributes.at(index).handle;
        });
        return handle;
    }

    void acquireTexts()
    {
        planPick(texts);
        ui->SpeedButton1->click();
        ASSERT_EQ(editorLines(), (QStringList{"T1", "T2", "T3", "T4"}));
    }

    void acquireGrid()
    {
        ui->PageControl1->setCurrentIndex(1);
        planPick(devices);
        ui->SpeedButton10->click();
        ASSERT_EQ(gridRow(1), (QStringList{"1", "A1", "B1"}));
        ASSERT_EQ(gridRow(3), (QStringList{"3", "A3", "B3"}));
    }

    void search()
    {
        ui->PageControl1->setCurrentIndex(2);
        ui->Edit3->setText(QStringLiteral("T"));
        ui->SpeedButton14->click();
        ASSERT_EQ(searchRows(), (QStringList{"T1", "T2", "T3", "T4"}));
    }

    // What the user has done before the faulty operation starts.
    void prepare(Op op)
    {
        switch (op) {
        case Op::TextAcquisition:
        case Op::AttrAcquisition:
            setEditorText(kUserLines.join(u'\n'));
            break;
        case Op::GridAcquisition:
            acquireGrid();
            ui->StringGrid1->setCellText(1, 2, QStringLiteral("user"));
            break;
        case Op::WriteBack:
        case Op::CtrlEnterWriteBack:
        case Op::Align:
        case Op::AlignEdit2Enter:
            acquireTexts();
            setEditorText(kEditedLines.join(u'\n'));
            ui->Edit1->setText(QStringLiteral("5"));
            break;
        case Op::GridUpdate:
            acquireGrid();
            ui->StringGrid1->setCellText(1, 1, QStringLiteral("A1x"));
            ui->StringGrid1->setCellText(1, 2, QStringLiteral("A2x"));
            ui->StringGrid1->setCellText(2, 3, QStringLiteral("B3x"));
            break;
        case Op::GridEnter:
            acquireGrid();
            openCellEditor(1, 1, false, QStringLiteral("A1x"));
            break;
        case Op::Search:
            ui->PageControl1->setCurrentIndex(2);
            ui->Edit3->setText(QStringLiteral("T"));
            break;
        case Op::SearchEnter:
            search();
            openCellEditor(0, 0, true, QStringLiteral("T1x"));
            break;
        case Op::SearchUpdate:
            search();
            for (int row = 0; row < 3; ++row)
                ui->StringGrid2->setCellText(0, row, kEditedLines[row]);
            // Drawing a changed row enables "更新".
            ui->StringGrid2->viewport()->repaint();
            ASSERT_TRUE(ui->SpeedButton15->isEnabled());
            break;
        case Op::CaretZoom: {
            acquireTexts();
            ui->CheckBox9->setChecked(true);
            QTextCursor cursor(ui->SynEdit1->document()->findBlockByNumber(2));
            ui->SynEdit1->setTextCursor(cursor);
            break;
        }
        case Op::GridCellZoom:
            acquireGrid();
            ui->CheckBox6->setChecked(true);
            break;
        case Op::SearchHitZoom:
            search();
            break;
        }
    }

    // The call after which a busy spell or the host's death strikes: halfway through.
    CallMatch midway(Op op)
    {
        switch (op) {
        case Op::TextAcquisition:
        case Op::AttrAcquisition:
        case Op::GridAcquisition:
            return {u"SelectOnScreen"};
        case Op::WriteBack:
        case Op::CtrlEnterWriteBack:
            return {u"TextString", u"Text", MemberAccess::Put};
        case Op::Align:
        case Op::AlignEdit2Enter:
            return {u"Update", u"Text"};
        case Op::GridUpdate:
            return {u"Update", u"AttributeReference"};
        case Op::GridEnter:
        case Op::SearchEnter:
            return {u"HandleToObject"};
        case Op::Search:
            return {u"Select"};
        case Op::SearchUpdate:
            return {u"Update", u"Text"};
        case Op::CaretZoom:
        case Op::GridCellZoom:
        case Op::SearchHitZoom:
            return {u"GetVariable"};
        }
        return {};
    }

    void inject(Op op, Fault fault)
    {
        using Failure = FaultInjector::MemberFailure;
        const auto failMember = [this](Failure failure) {
            inServer([&](CadSession& s) { s.faults().failMember(failure); });
        };
        switch (fault) {
        case Fault::EntityErased:
            if (isAcquisition(op)) {
                const std::u16string victim = op == Op::TextAcquisition ? texts[1] : devices[1];
                afterCall({u"SelectOnScreen"}, [victim](CadSession& s) { s.drawing().erase(victim); });
            } else if (op == Op::Search) {
                afterCall({u"Select"}, [victim = texts[1]](CadSession& s) { s.drawing().erase(victim); });
            } else if (op == Op::GridUpdate || op == Op::GridCellZoom) {
                erase(devices[op == Op::GridUpdate ? 1 : 2]);
            } else if (op == Op::GridEnter) {
                erase(devices[0]);
            } else if (op == Op::SearchEnter) {
                erase(texts[0]);
            } else {
                erase(texts[op == Op::SearchUpdate ? 1 : 2]);
            }
            break;
        case Fault::EntityMemberFails:
            switch (op) {
            case Op::TextAcquisition:
            case Op::WriteBack:
            case Op::CtrlEnterWriteBack:
            case Op::Align:
            case Op::AlignEdit2Enter:
            case Op::Search:
                failMember(Failure::of(u"TextString").onObject(texts[2]));
                break;
            case Op::SearchEnter:
                failMember(Failure::of(u"TextString").onObject(texts[0]));
                break;
            case Op::SearchUpdate:
                failMember(Failure::of(u"TextString").onObject(texts[1]));
                break;
            case Op::AttrAcquisition:
                failMember(Failure::of(u"TagString").onKind(u"AttributeReference").onlyTimes(1));
                break;
            case Op::GridAcquisition:
                failMember(Failure::of(u"GetAttributes").onObject(devices[1]));
                break;
            case Op::GridUpdate:
                failMember(Failure::of(u"TextString").onObject(attributeHandle(1, 0)));
                break;
            case Op::GridEnter:
                failMember(Failure::of(u"TextString").onObject(attributeHandle(0, 0)));
                break;
            case Op::CaretZoom:
            case Op::GridCellZoom:
            case Op::SearchHitZoom:
                failMember(Failure::of(u"ZoomCenter"));
                break;
            }
            break;
        case Fault::BatchMemberFails:
            switch (op) {
            case Op::TextAcquisition:
            case Op::AttrAcquisition:
            case Op::GridAcquisition:
            case Op::GridEnter:
            case Op::SearchEnter:
                failMember(Failure::of(u"ActiveDocument"));
                break;
            case Op::WriteBack:
            case Op::CtrlEnterWriteBack:
            case Op::Align:
            case Op::AlignEdit2Enter:
            case Op::GridUpdate:
            case Op::SearchUpdate:
                failMember(Failure::of(u"StartUndoMark"));
                break;
            case Op::Search:
                failMember(Failure::of(u"Layers"));
                break;
            case Op::CaretZoom:
            case Op::GridCellZoom:
            case Op::SearchHitZoom:
                failMember(Failure::of(u"GetVariable"));
                break;
            }
            break;
        case Fault::Busy3s:
            busyAfter(midway(op));
            break;
        case Fault::HostKilled:
            killAfter(midway(op));
            break;
        case Fault::PickCancelled:
            planCancelledPick();
            return;
        }
        // The acquisitions pick the texts or the devices, unless the pick is cancelled.
        if (op == Op::TextAcquisition)
            planPick(texts);
        else if (op == Op::AttrAcquisition || op == Op::GridAcquisition)
            planPick(devices);
    }

    void act(Op op)
    {
        switch (op) {
        case Op::TextAcquisition: ui->SpeedButton1->click(); break;
        case Op::AttrAcquisition: ui->SpeedButton8->click(); break;
        case Op::GridAcquisition: ui->SpeedButton10->click(); break;
        case Op::WriteBack: ui->SpeedButton2->click(); break;
        case Op::CtrlEnterWriteBack: QTest::keyClick(ui->SynEdit1, Qt::Key_Return, Qt::ControlModifier); break;
        case Op::Align: ui->SpeedButton6->click(); break;
        case Op::AlignEdit2Enter:
            ui->Edit2->setFocus();
            QTest::keyClick(ui->Edit2, Qt::Key_Return);
            break;
        case Op::GridUpdate: ui->SpeedButton11->click(); break;
        case Op::GridEnter: pressEnterInGrid(false); break;
        case Op::Search: ui->SpeedButton14->click(); break;
        case Op::SearchEnter: pressEnterInGrid(true); break;
        case Op::SearchUpdate: ui->SpeedButton15->click(); break;
        case Op::CaretZoom: QTest::keyClick(ui->SynEdit1, Qt::Key_End); break;
        case Op::GridCellZoom: ui->StringGrid1->setCurrentCell(2, 3); break;
        case Op::SearchHitZoom: ui->StringGrid2->setCurrentCell(0, 2); break;
        }
    }

    // What the user is told, "error: *" standing for the default error box with any text.
    QStringList expectedMessages(Op op, Fault fault)
    {
        const bool killed = fault == Fault::HostKilled;
        switch (op) {
        case Op::TextAcquisition:
            // An error while the picked texts are read is shown by the default error box.
            if (fault == Fault::EntityErased || fault == Fault::EntityMemberFails || fault == Fault::BatchMemberFails ||
                killed)
                return {kAnyError};
            return {};
        case Op::WriteBack:
        case Op::CtrlEnterWriteBack:
            // On a host that is gone the view cannot be regenerated either; that adds no box.
            if (fault == Fault::BatchMemberFails || killed)
                return {kWriteBackFailed};
            return {};
        case Op::Align:
        case Op::AlignEdit2Enter:
            if (fault == Fault::EntityMemberFails || fault == Fault::BatchMemberFails || killed)
                return {kAlignFailed};
            return {};
        case Op::AttrAcquisition:
        case Op::GridEnter:
        case Op::SearchEnter:
            // Without the active document there is nothing to guard: the default error box.
            if (fault == Fault::BatchMemberFails)
                return {kAnyError};
            return {};
        case Op::Search:
            if (killed)
                return {kAnyError};
            return {};
        case Op::SearchUpdate:
            // Without an undo group nothing is written, and on a host killed midway nothing
            // that was written is confirmed: the count says so.
            if (fault == Fault::BatchMemberFails || killed)
                return {u"info: 0 / 3 個の TEXT を更新しました．"_qs};
            if (fault == Fault::EntityErased || fault == Fault::EntityMemberFails)
                return {u"info: 2 / 3 個の TEXT を更新しました．"_qs};
            return {u"info: 3 / 3 個の TEXT を更新しました．"_qs};
        default:
            return {};
        }
    }

    void expectMessages(const QStringList& expected)
    {
        const auto shown = shownMessages();
        ASSERT_EQ(shown.size(), static_cast<size_t>(expected.size())) << ::testing::PrintToString(shown);
        for (size_t i = 0; i < shown.size(); ++i) {
            const QString want = expected[static_cast<qsizetype>(i)];
            if (want == kAnyError) {
                EXPECT_TRUE(QString::fromStdString(shown[i]).startsWith(u"error: "_qs)) << shown[i];
            }
            else {
                EXPECT_EQ(QString::fromStdString(shown[i]), want);
            }
        }
    }

    // Where the zoom should have panned to, when it pans.
    kelvocad::Point3 viewCenter()
    {
        kelvocad::Point3 center;
        inServer([&](CadSession& s) { center = s.view().center; });
        return center;
    }

    void verify(Op op, Fault fault)
    {
        const bool killed = fault == Fault::HostKilled;
        const bool normal = fault == Fault::Busy3s;
        switch (op) {
        case Op::TextAcquisition:
            if (normal) {
                EXPECT_EQ(editorLines(), (QStringList{"T1", "T2", "T3", "T4"}));
                EXPECT_TRUE(ui->SpeedButton2->isEnabled());
            } else {
                EXPECT_EQ(editorLines(), kUserLines) << "the user's lines stay";
                EXPECT_TRUE(form->entities().TextEntities.empty());
            }
            EXPECT_FALSE(form->lineEditorFields().ATTmode);
            break;
        case Op::AttrAcquisition:
            if (normal) {
                EXPECT_EQ(editorLines(), (QStringList{"A1", "A2", "A3"}));
            } else {
                EXPECT_EQ(editorLines(), kUserLines) << "the user's lines stay";
                EXPECT_TRUE(form->entities().TextEntities.empty());
            }
            EXPECT_TRUE(form->lineEditorFields().ATTmode);
            break;
        case Op::GridAcquisition:
            if (normal) {
                EXPECT_EQ(gridRow(2), (QStringList{"2", "A2", "B2"}));
            } else if (fault == Fault::EntityErased || fault == Fault::EntityMemberFails) {
                // The device that cannot be read is left out.
                EXPECT_EQ(ui->StringGrid1->gridRowCount(), 3);
                EXPECT_EQ(gridRow(1), (QStringList{"1", "A1", "B1"}));
                EXPECT_EQ(gridRow(2), (QStringList{"2", "A3", "B3"}));
            } else {
                EXPECT_EQ(gridRow(2), (QStringList{"2", "user", "B2"})) << "the grid keeps the user's edit";
            }
            EXPECT_FALSE(form->runFlag);
            break;
        case Op::WriteBack:
        case Op::CtrlEnterWriteBack:
        case Op::Align:
        case Op::AlignEdit2Enter: {
            EXPECT_EQ(editorLines(), kEditedLines) << "the editor keeps the user's lines";
            if (killed)
                break;
            std::vector<std::u16string> want = {u"T1x", u"T2x", u"T3x", u"T4x"};
            if (fault == Fault::BatchMemberFails)
                want = {u"T1", u"T2", u"T3", u"T4"};
            if (fault == Fault::EntityErased)
                want[2].clear();
            if (fault == Fault::EntityMemberFails)
                want = op != Op::WriteBack && op != Op::CtrlEnterWriteBack ? std::vector<std::u16string>{u"T1x", u"T2x", u"T3", u"T4"}
                                       : std::vector<std::u16string>{u"T1x", u"T2x", u"T3", u"T4x"};
            for (size_t i = 0; i < texts.size(); ++i)
                EXPECT_EQ(textOf(texts[i]), want[i]) << "TEXT " << i + 1;
            break;
        }
        case Op::GridUpdate: {
            EXPECT_EQ(gridRow(1), (QStringList{"1", "A1x", "B1"})) << "the grid keeps the user's edits";
            EXPECT_EQ(gridRow(2), (QStringList{"2", "A2x", "B2"}));
            EXPECT_EQ(gridRow(3), (QStringList{"3", "A3", "B3x"}));
            if (killed)
                break;
            const bool written = fault != Fault::BatchMemberFails;
            EXPECT_EQ(attributeOf(devices[0], 0), written ? u"A1x" : u"A1");
            if (fault != Fault::EntityErased) {
                EXPECT_EQ(attributeOf(devices[1], 0), written && fault != Fault::EntityMemberFails ? u"A2x" : u"A2");
            }
            EXPECT_EQ(attributeOf(devices[2], 1), written ? u"B3x" : u"B3");
            break;
        }
        case Op::GridEnter: {
            const bool writes = normal;
            const bool dropsEdit = fault == Fault::EntityErased || fault == Fault::EntityMemberFails || killed;
            EXPECT_EQ(ui->StringGrid1->cellText(1, 1), dropsEdit ? u"A1"_qs : u"A1x"_qs);
            if (fault != Fault::EntityErased && !killed) {
                EXPECT_EQ(attributeOf(devices[0], 0), writes ? u"A1x" : u"A1");
            }
            if (fault == Fault::BatchMemberFails) {
                EXPECT_EQ(QPoint(ui->StringGrid1->currentCol(), ui->StringGrid1->currentRow()), QPoint(1, 1))
                    << "the cursor stays after the error";
            }
            break;
        }
        case Op::Search:
            if (normal) {
                EXPECT_EQ(searchRows(), (QStringList{"T1", "T2", "T3", "T4"}));
            } else if (fault == Fault::EntityErased) {
                // The hits read before the erased one, and empty rows for the rest.
                EXPECT_EQ(searchRows(), (QStringList{"", "", "", "T1"}));
            } else if (fault == Fault::EntityMemberFails) {
                EXPECT_EQ(searchRows(), (QStringList{"", "", "T1", "T2"}));
            } else if (killed) {
                EXPECT_EQ(searchRows(), searchRowsBefore);
            } else {
                EXPECT_EQ(searchRows(), QStringList{""});
            }
            break;
        case Op::SearchEnter: {
            const bool dropsEdit = fault == Fault::EntityErased || fault == Fault::EntityMemberFails || killed;
            EXPECT_EQ(ui->StringGrid2->cellText(0, 0), dropsEdit ? u"T1"_qs : u"T1x"_qs);
            if (fault != Fault::EntityErased && !killed) {
                EXPECT_EQ(textOf(texts[0]), normal ? u"T1x" : u"T1");
            }
            break;
        }
        case Op::SearchUpdate: {
            EXPECT_EQ(searchRows(), (QStringList{"T1x", "T2x", "T3x", "T4"})) << "the rows keep the user's edits";
            if (killed)
                break;
            std::vector<std::u16string> want = {u"T1x", u"T2x", u"T3x", u"T4"};
            if (fault == Fault::BatchMemberFails)
                want = {u"T1", u"T2", u"T3", u"T4"};
            if (fault == Fault::EntityErased)
                want[1].clear();
            if (fault == Fault::EntityMemberFails)
                want[1] = u"T2";
            for (size_t i = 0; i < texts.size(); ++i)
                EXPECT_EQ(textOf(texts[i]), want[i]) << "TEXT " << i + 1;
            break;
        }
        case Op::CaretZoom:
        case Op::GridCellZoom:
        case Op::SearchHitZoom: {
            const kelvocad::Point3 target = op == Op::CaretZoom        ? kelvocad::Point3{0.0, 20.0, 0.0}
                                            : op == Op::GridCellZoom   ? kelvocad::Point3{1.0, 81.0, 0.0}
                                                                       : kelvocad::Point3{0.0, 20.0, 0.0};
            const kelvocad::Point3 center = viewCenter();
            // The zoom pans onto the stored point, also when its entity was erased since.
            if (normal || fault == Fault::EntityErased) {
                EXPECT_DOUBLE_EQ(center.x, target.x);
                EXPECT_DOUBLE_EQ(center.y, target.y);
            } else {
                EXPECT_FALSE(center.x == target.x && center.y == target.y) << "a failed zoom does not pan";
            }
            if (op == Op::CaretZoom) {
                EXPECT_EQ(form->lineEditorFields().CaretY_Old, 3);
            }
            break;
        }
        }
    }
};

TEST_P(FaultMatrix, EndsAsItShouldNothingLostAndTheWindowAnswers)
{
    const auto [op, fault] = GetParam();
    prepare(op);
    ASSERT_FALSE(HasFatalFailure());
    messages.shown.clear();
    inject(op, fault);
    before = markDrawing();
    searchRowsBefore = searchRows();

    bounded([&] { act(op); });

    // The fault struck while the operation ran; one that never did would prove nothing.
    if (fault == Fault::Busy3s || fault == Fault::HostKilled ||
        (fault == Fault::EntityErased && (isAcquisition(op) || op == Op::Search))) {
        EXPECT_EQ(actionsRun(), 1) << "the planned fault never struck";
    }
    if (fault == Fault::EntityMemberFails || fault == Fault::BatchMemberFails) {
        EXPECT_TRUE(injectedFailureHit()) << "no call met the failing member";
    }

    expectMessages(expectedMessages(op, fault));
    expectAtRest();
    // A search leaves runFlag set when it ends; every other operation clears it.
    if (!usesSearch(op)) {
        EXPECT_FALSE(form->runFlag);
    }
    expectAnswersInput();
    verify(op, fault);
    // Last, as it undoes what the operation wrote.
    if (!serverKilled())
        expectUndoClosedAndOneStep(before);
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    const Op ops[] = {Op::TextAcquisition, Op::AttrAcquisition, Op::GridAcquisition, Op::WriteBack,
                      Op::CtrlEnterWriteBack, Op::Align, Op::AlignEdit2Enter, Op::GridUpdate, Op::GridEnter, Op::Search,
                      Op::SearchEnter, Op::SearchUpdate, Op::CaretZoom, Op::GridCellZoom, Op::SearchHitZoom};
    // A busy host costs three seconds a case; one operation of each kind is enough to show
    // that every call waits and then goes on.
    const Op busyOps[] = {Op::TextAcquisition, Op::WriteBack, Op::GridUpdate, Op::GridEnter, Op::Search,
                          Op::SearchUpdate};
    for (const Op op : ops) {
        for (const Fault fault : {Fault::EntityErased, Fault::EntityMemberFails, Fault::BatchMemberFails,
                                  Fault::HostKilled})
            cases.push_back({op, fault});
        if (std::find(std::begin(busyOps), std::end(busyOps), op) != std::end(busyOps))
            cases.push_back({op, Fault::Busy3s});
        if (isAcquisition(op))
            cases.push_back({op, Fault::PickCancelled});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(OperationsTimesFaults, FaultMatrix, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(name(info.param.op)) + "_" + name(info.param.fault);
                         });

}  // namespace
}  // namespace faults
