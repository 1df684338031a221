// LineEditorHost over the line editor page's controls: what the line editor's operations read
// from and write to the editor SynEdit1, the dX/dY boxes, the labels, buttons and status bar.
#include "editor/ui/LineEditorPage.h"

#include "ui/LineEditorWidget.h"
#include "ui/MessagePump.h"
#include "ui/PageContract.h"
#include "ui/UserMessages.h"
#include "ui_TKelvoMainForm.h"

#include <QApplication>
#include <QLocale>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace editor {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kPaleCyan(221, 255, 253);

QString qt(const std::u16string& text)
{
    return QString::fromStdU16String(text);
}

}  // namespace

int LineEditorPage::lineCount() const
{
    return SynEdit1.lineCount();
}

std::u16string LineEditorPage::line(int index) const
{
    return SynEdit1.lineText(index).toStdU16String();
}

void LineEditorPage::replaceLines(const std::vector<std::u16string>& lines)
{
    QStringList all;
    all.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::u16string& line : lines)
        all << qt(line);
    SynEdit1.loadLines(all);
}

void LineEditorPage::caretToStart()
{
    QTextCursor cursor = SynEdit1.textCursor();
    cursor.setPosition(0);
    SynEdit1.setTextCursor(cursor);
}

std::u16string LineEditorPage::text() const
{
    return SynEdit1.lines().join(QStringLiteral("\r\n")).toStdU16String();
}

void LineEditorPage::setText(const std::u16string& text)
{
    QString all = qt(text);
    all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    all.replace(u'\r', u'\n');
    SynEdit1.loadText(all);
}

int LineEditorPage::caretLine() const
{
    return SynEdit1.textCursor().blockNumber() + 1;
}

int LineEditorPage::caretColumn() const
{
    return SynEdit1.textCursor().positionInBlock() + 1;
}

std::u16string LineEditorPage::selectedText() const
{
    return withLineBreaks(SynEdit1.textCursor().selectedText(), QStringLiteral("\r\n")).toStdU16String();
}

bool LineEditorPage::canUndo() const
{
    return SynEdit1.document()->isUndoAvailable();
}

void LineEditorPage::undoOneStep()
{
    SynEdit1.undo();
}

EditorBackground LineEditorPage::editorBackground() const
{
    return background_;
}

void LineEditorPage::setEditorBackground(EditorBackground background)
{
    background_ = background;
    QPalette palette = SynEdit1.palette();
    switch (background) {
    case EditorBackground::Window:
        palette.setColor(QPalette::Base, windowColour_);
        break;
    case EditorBackground::Yellow:
        palette.setColor(QPalette::Base, kYellow);
        break;
    case EditorBackground::PaleCyan:
        palette.setColor(QPalette::Base, kPaleCyan);
        break;
    }
    SynEdit1.setPalette(palette);
}

std::u16string LineEditorPage::Edit1Text() const
{
    return form_.controls().Edit1->text().toStdU16String();
}

std::u16string LineEditorPage::Edit2Text() const
{
    return form_.controls().Edit2->text().toStdU16String();
}

void LineEditorPage::setEdit1Text(const std::u16string& text)
{
    form_.controls().Edit1->setText(qt(text));
}

void LineEditorPage::setEdit2Text(const std::u16string& text)
{
    form_.controls().Edit2->setText(qt(text));
}

void LineEditorPage::setPitchBoxesRed(bool red)
{
    for (QLineEdit* box : {form_.controls().Edit1, form_.controls().Edit2}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        box->setPalette(palette);
    }
}

std::u16string LineEditorPage::formatNumber(double value) const
{
    // "%.2f" in the user's locale: its decimal point, no group separators.
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2).toStdU16String();
}

std::optional<double> LineEditorPage::parseNumber(const std::u16string& text) const
{
    bool ok = false;
    const double value = QLocale().toDouble(qt(text).trimmed(), &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

void LineEditorPage::setLabel1(const std::u16string& text)
{
    form_.controls().Label1->setText(qt(text));
}

void LineEditorPage::setLabel2(const std::u16string& text)
{
    QLabel* label = form_.controls().Label2;
    label->setText(qt(text));
    // Progress shows while the operation holds the thread.
    ui::repaintNowAndThen(*label);
}

void LineEditorPage::setLabel2Visible(bool visible)
{
    form_.controls().Label2->setVisible(visible);
}

std::u16string LineEditorPage::statusPanelText(int panel) const
{
    return form_.statusPanelText(panel).toStdU16String();
}

void LineEditorPage::setStatusPanelText(int panel, const std::u16string& text)
{
    form_.setStatusPanelText(panel, qt(text));
}

void LineEditorPage::setSpeedButton2Enabled(bool enabled)
{
    form_.controls().SpeedButton2->setEnabled(enabled);
}

void LineEditorPage::setSpeedButton3Visible(bool visible)
{
    form_.controls().SpeedButton3->setVisible(visible);
}

bool LineEditorPage::SpeedButton4Enabled() const
{
    return form_.controls().SpeedButton4->isEnabled();
}

void LineEditorPage::setSpeedButton4Enabled(bool enabled)
{
    form_.controls().SpeedButton4->setEnabled(enabled);
}

void LineEditorPage::setSpeedButton5Enabled(bool enabled)
{
    form_.controls().SpeedButton5->setEnabled(enabled);
}

void LineEditorPage::setSpeedButton6Enabled(bool enabled)
{
    form_.controls().SpeedButton6->setEnabled(enabled);
}

bool LineEditorPage::CheckBox1Checked() const
{
    return form_.controls().CheckBox1->isChecked();
}

bool LineEditorPage::CheckBox9Checked() const
{
    return form_.controls().CheckBox9->isChecked();
}

std::u16string LineEditorPage::ComboBox1Text() const
{
    return form_.controls().ComboBox1->currentText().toStdU16String();
}

void LineEditorPage::showMessage(const std::u16string& text)
{
    form_.messages().show(ui::UserMessages::Kind::Plain, qt(text));
}

void LineEditorPage::processPendingMessages()
{
    pump_.processPendingMessages();
}

bool LineEditorPage::runFlag() const
{
    return form_.runFlag;
}

void LineEditorPage::setRunFlag(bool value)
{
    form_.runFlag = value;
}

}  // namespace editor
