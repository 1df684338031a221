// The text commands of the line editor's popup menu over many lines, without a drawing host.
#include "Measurement.h"
#include "RunSupport.h"
#include "Runs.h"

#include "app/TKelvoMainForm.h"
#include "ui/LineEditorWidget.h"
#include "ui_TKelvoMainForm.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

namespace bench::e2e {

namespace {

struct Command {
    const char* item;
    const char* title;
    const char* dialog;  // the dialog it opens, or null
};

const Command commands[] = {
    {"N1", "すべて全角に (N1)", nullptr},
    {"N4", "すべて半角に (N4)", nullptr},
    {"N28", "( ) を全角に (N28)", nullptr},
    {"N23", "半角カタカナを全角に (N23)", nullptr},
    {"N24", "全角カタカナを半角に (N24)", nullptr},
    {"N091", "半角数字を全角に (N091)", nullptr},
    {"N092", "全角数字を半角に (N092)", nullptr},
    {"N094", "半角数値を全角に (N094)", nullptr},
    {"N093", "全角数値を半角に (N093)", nullptr},
    {"AZ1", "半角アルファベットを全角に (AZ1)", nullptr},
    {"AZ2", "全角アルファベットを半角に (AZ2)", nullptr},
    {"N27", "半角記号を全角に (N27)", nullptr},
    {"N26", "全角記号を半角に (N26)", nullptr},
    {"N7", "すべて置換 (N7)", "TKelvoTikanForm"},
    {"N14", "加算 (N14)", "TKelvoKasanForm"},
};

// Lines with something for every command to change: half- and full-width katakana,
// letters, digits, numbers, brackets and symbols.
QStringList sampleLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("ｶﾞｲﾄﾞ ガイド w-%1 (AB) ＡＢ１２,３ ＃！#! 10").arg(i);
    return lines;
}

}  // namespace

void runTextCommands(Measurement& m, int count)
{
    bool any = false;
    for (const Command& c : commands)
        any = any || m.wanted(rowName("TextCommand", c.item, count));
    if (!any)
        return;

    KelvoEditWindow edit(nullptr);
    edit.ui().PageControl1->setCurrentIndex(0);
    const QStringList lines = sampleLines(count);
    const QString original = lines.join(u'\n');
    for (const Command& c : commands) {
        const std::string name = rowName("TextCommand", c.item, count);
        if (!m.wanted(name))
            continue;
        loadEditor(edit, lines);
        edit.messages.shown.clear();
        QDialog* dialog = c.dialog ? edit.form().findChild<QDialog*>(QString::fromLatin1(c.dialog)) : nullptr;
        m.measure(
            nullptr, {name, std::string("Text command: ") + c.title, "kelvoedit", count, "line", true},
            [&] {
                triggerWithDialog(edit, c.item, dialog, [dialog, &c] {
                    if (std::string(c.item) == "N7") {
                        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("w-"));
                        dialog->findChild<QLineEdit*>(QStringLiteral("Edit2"))->setText(QStringLiteral("W-"));
                    }
                    dialog->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
                    if (dialog->isVisible())
                        dialog->reject();
                });
            },
            [&]() -> std::string {
                if (c.dialog && !dialog)
                    return "no dialog";
                if (edit.ui().SynEdit1->lineCount() != count)
                    return "lines " + std::to_string(edit.ui().SynEdit1->lineCount());
                if (editorText(edit) == original)
                    return "nothing changed";
                return noMessage(edit);
            });
    }
}

}  // namespace bench::e2e
