#include "ServedMainForm.h"

#include "WindowChecks.h"

#include "automation/AutomationError.h"
#include "automation/socket/SocketServer.h"
#include "cadlink/TargetProgID.h"
#include "common/Utf.h"
#include "grid/ui/KelvoStringGrid.h"
#include "kelvocad/model/Drawing.h"
#include "kelvocad/objects/ScriptedPicker.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <sstream>

namespace faults {

using kelvocad::CadSession;

namespace {

// A busy host is asked again after this long, as kelvoedit does.
constexpr std::chrono::milliseconds kRetryInterval{1000};
bool sameMember(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

struct Trigger {
    CallMatch match;
    int seen = 0;
    std::function<void(CadSession&)> action;
};

// Each call's hook looks at the call before it, the last one logged, and either fires or
// passes the watch on to the next call.
void arm(CadSession& session, std::shared_ptr<Trigger> trigger, uint64_t call)
{
    std::weak_ptr<CadSession> weak = session.shared_from_this();
    session.faults().beforeCall(call, [weak, trigger, call] {
        const auto s = weak.lock();
        if (!s)
            return;
        const auto& records = s->callLog().records();
        if (!records.empty() && trigger->match.matches(records.back()) && ++trigger->seen == trigger->match.occurrence) {
            trigger->action(*s);
            return;
        }
        arm(*s, trigger, call + 1);
    });
}

std::string utf8(const std::u16string& text)
{
    return common::toUtf8(text);
}

}  // namespace

bool CallMatch::matches(const kelvocad::CallRecord& call) const
{
    if (!sameMember(member, call.member))
        return false;
    if (!objectKind.empty() && objectKind != call.objectKind)
        return false;
    return !access || *access == call.access;
}

ServedMainForm::ServedMainForm() = default;
ServedMainForm::~ServedMainForm() = default;

void ServedMainForm::SetUp()
{
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(dir.isValid());
    session = CadSession::create(std::make_shared<kelvocad::Drawing>());
    session->applicationWindow = 99;
    directory.emplace(std::filesystem::path(dir.path().toStdString()) / "objects");
    server = std::make_unique<sockettest::ServerThread>(session->application());
    server->run([this](automation::socket::SocketServer& s) {
        s.serve(*directory, cadlink::TargetProgID);
        socketServer_ = &s;
    });
    runningObjects = std::make_unique<automation::socket::SocketRunningObjects>(*directory, kRetryInterval);

    windows.ownWindow = 7;
    form = std::make_unique<app::TKelvoMainForm>(std::filesystem::path(dir.path().toStdU16String()) / "kelvoedit",
                                                 messages, launcher);
    form->setAutomation(*runningObjects, windows, ownWindow);
    ui = &form->controls();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
}

void ServedMainForm::TearDown()
{
    form.reset();
    server.reset();
    QLocale::setDefault(QLocale::c());
}

void ServedMainForm::inServer(const std::function<void(CadSession&)>& f)
{
    server->run([&](automation::socket::SocketServer&) { f(*session); });
}

void ServedMainForm::afterCall(CallMatch match, std::function<void(CadSession&)> action)
{
    auto trigger = std::make_shared<Trigger>();
    trigger->match = std::move(match);
    trigger->action = [action = std::move(action), run = actionsRun_](CadSession& s) {
        ++*run;
        action(s);
    };
    inServer([&](CadSession& s) { arm(s, trigger, s.callCount() + 1); });
}

bool ServedMainForm::injectedFailureHit()
{
    bool hit = false;
    inServer([&](CadSession& s) {
        for (const auto& call : s.callLog().records())
            hit = hit || (call.failed() && call.errorDescription == u"Injected failure");
    });
    return hit;
}

void ServedMainForm::busyAfter(CallMatch match)
{
    // Three refusals, one per second of the client's patience.
    afterCall(std::move(match), [](CadSession& s) { s.faults().setBusy(3); });
}

void ServedMainForm::killAfter(CallMatch match)
{
    automation::socket::SocketServer* served = socketServer_;
    auto killed = killed_;
    afterCall(std::move(match), [served, killed](CadSession& s) {
        s.faults().failCall(s.callCount(), automation::hr::Disconnected, u"The server has gone away");
        *killed = true;
        // Once the failing answer is out: every connection dropped, the socket gone.
        QTimer::singleShot(0, [served] { served->close(); });
    });
}

void ServedMainForm::bounded(const std::function<void()>& userAction)
{
    runBounded(userAction);
}

void ServedMainForm::expectAnswersInput()
{
    faults::expectAnswersInput(*form);
}

void ServedMainForm::expectAtRest()
{
    EXPECT_FALSE(form->lineEditorFields().cadOperationRunning);
    EXPECT_FALSE(ui->SpeedButton5->isEnabled()) << "line editor Stop";
    EXPECT_FALSE(ui->SpeedButton12->isEnabled()) << "grid Stop";
    EXPECT_FALSE(ui->SpeedButton3->isHidden()) << "select-all comes back";
    EXPECT_FALSE(ui->SynEdit1->isReadOnly()) << "the editor takes typing again";
    EXPECT_EQ(ui->SpeedButton14->text(), QStringLiteral("検索"));
    EXPECT_TRUE(ui->Edit3->isEnabled());
    // The last step taken on the main window leaves it restored.
    for (auto it = windows.log.rbegin(); it != windows.log.rend(); ++it) {
        if (*it == "own minimize")
            ADD_FAILURE() << "the main window was left minimised";
        if (*it == "own minimize" || *it == "own normal")
            break;
    }
}

void ServedMainForm::expectUndoClosedAndOneStep(const DrawingLines& before)
{
    inServer([&](CadSession& s) {
        EXPECT_EQ(s.drawing().journal().markDepth(), 0) << "CAD undo group left open";
        if (s.undoLastStep()) {
            EXPECT_FALSE(s.undoLastStep()) << "more than one undo step";
        }
    });
    EXPECT_EQ(drawingLines(), before) << "one undo does not bring the drawing back";
}

std::u16string ServedMainForm::addText(const std::u16string& string, double x, double y, const std::u16string& layer)
{
    std::u16string handle;
    inServer([&](CadSession& s) {
        kelvocad::TextEntity text;
        text.string = string;
        text.layer = layer;
        text.insertionPoint = {x, y, 0.0};
        text.alignmentPoint = {x, y, 0.0};
        s.drawing().addLayer(layer);
        handle = s.drawing().addText(text);
    });
    return handle;
}

std::vector<std::u16string> ServedMainForm::addDevices(
    const std::vector<std::pair<std::u16string, std::u16string>>& rows)
{
    std::vector<std::u16string> handles;
    inServer([&](CadSession& s) {
        auto& drawing = s.drawing();
        if (!drawing.findBlock(u"DEV")) {
            kelvocad::BlockDefinition block;
            block.name = u"DEV";
            for (const char16_t* tag : {u"A", u"B"}) {
                kelvocad::AttributeDefinition definition;
                definition.tag = tag;
                definition.prompt = std::u16string(u"項目") + tag;
                block.attributes.push_back(definition);
            }
            drawing.addBlock(block);
        }
        double y = 100.0;
        for (const auto& [a, b] : rows) {
            kelvocad::BlockReference reference;
            reference.name = u"DEV";
            reference.insertionPoint = {0.0, y, 0.0};
            const std::pair<const char16_t*, const std::u16string*> values[] = {{u"A", &a}, {u"B", &b}};
            for (const auto& [tag, value] : values) {
                if (value->empty())
                    continue;
                kelvocad::AttributeReference attribute;
                attribute.tag = tag;
                attribute.string = *value;
                attribute.insertionPoint = {1.0, y + 1.0, 0.0};
                reference.attributes.push_back(attribute);
            }
            handles.push_back(drawing.addBlockReference(reference));
            y -= 10.0;
        }
    });
    return handles;
}

void ServedMainForm::erase(const std::u16string& handle)
{
    inServer([&](CadSession& s) { s.drawing().erase(handle); });
}

void ServedMainForm::planPick(const std::vector<std::u16string>& handles)
{
    inServer([&](CadSession& s) { s.scriptedPicker()->nextPickReturns(handles); });
}

void ServedMainForm::planCancelledPick()
{
    inServer([](CadSession& s) { s.scriptedPicker()->nextPickIsCancelled(); });
}

DrawingLines ServedMainForm::drawingLines()
{
    DrawingLines lines;
    inServer([&](CadSession& s) {
        for (const auto& entity : s.drawing().entities()) {
            std::ostringstream line;
            if (const auto* text = std::get_if<kelvocad::TextEntity>(&entity)) {
                line << "TEXT " << utf8(text->handle) << " " << utf8(text->string) << " @" << text->insertionPoint.x
                     << "," << text->insertionPoint.y;
            } else if (const auto* reference = std::get_if<kelvocad::BlockReference>(&entity)) {
                line << "INSERT " << utf8(reference->handle);
                for (const auto& attribute : reference->attributes)
                    line << " " << utf8(attribute.tag) << "=" << utf8(attribute.string);
            }
            lines.push_back(line.str());
        }
    });
    return lines;
}

std::u16string ServedMainForm::textOf(const std::u16string& handle)
{
    std::u16string string;
    inServer([&](CadSession& s) {
        if (const auto* text = s.drawing().findText(handle))
            string = text->string;
    });
    return string;
}

std::u16string ServedMainForm::attributeOf(const std::u16string& reference, size_t index)
{
    std::u16string string;
    inServer([&](CadSession& s) {
        if (const auto* block = s.drawing().findBlockReference(reference))
            string = block->attributes.at(index).string;
    });
    return string;
}

DrawingLines ServedMainForm::markDrawing()
{
    inServer([](CadSession& s) { s.drawing().clearUndo(); });
    return drawingLines();
}

QStringList ServedMainForm::editorLines() const
{
    QStringList lines;
    for (int i = 0; i < ui->SynEdit1->lineCount(); ++i)
        lines << ui->SynEdit1->lineText(i);
    return lines;
}

void ServedMainForm::setEditorText(const QString& text)
{
    // As typed over a selection of everything: the editor's own undo keeps the change.
    ui->SynEdit1->setFocus();
    ui->SynEdit1->selectAll();
    ui->SynEdit1->insertPlainText(text);
}

QStringList ServedMainForm::gridRow(int row) const
{
    QStringList texts;
    for (int c = 0; c < ui->StringGrid1->gridColCount(); ++c)
        texts << ui->StringGrid1->cellText(c, row);
    return texts;
}

QStringList ServedMainForm::searchRows() const
{
    QStringList texts;
    for (int r = 0; r < ui->StringGrid2->gridRowCount(); ++r)
        texts << ui->StringGrid2->cellText(0, r);
    return texts;
}

void ServedMainForm::openCellEditor(int col, int row, bool searchGrid, const QString& text)
{
    grid::KelvoStringGrid* grid = searchGrid ? ui->StringGrid2 : ui->StringGrid1;
    grid->setCurrentCell(col, row);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_TRUE(grid->isEditorOpen());
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
}

void ServedMainForm::pressEnterInGrid(bool searchGrid)
{
    grid::KelvoStringGrid* grid = searchGrid ? ui->StringGrid2 : ui->StringGrid1;
    QWidget* target = grid->isEditorOpen() ? grid->indexWidget(grid->currentIndex()) : grid;
    QTest::keyClick(target, Qt::Key_Return);
}

std::vector<std::string> ServedMainForm::shownMessages() const
{
    std::vector<std::string> shown;
    for (const auto& message : messages.shown) {
        const char* kind = message.kind == ui::UserMessages::Kind::Information ? "info"
                           : message.kind == ui::UserMessages::Kind::Error     ? "error"
                                                                                : "plain";
        shown.push_back(std::string(kind) + ": " + message.text.toStdString());
    }
    return shown;
}

}  // namespace faults
