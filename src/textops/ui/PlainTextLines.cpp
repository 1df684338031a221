#include "textops/ui/PlainTextLines.h"

#include "ui/LineEditorWidget.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace textops::ui {

namespace {

QString joinLines(const std::vector<std::u16string>& lines)
{
    QString joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += u'\n';
        joined += QString::fromStdU16String(lines[i]);
    }
    return joined;
}

// The document knows only one kind of line break; CR LF must not become two lines.
QString withLineFeeds(const std::u16string& text)
{
    QString converted = QString::fromStdU16String(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    converted.replace(u'\r', u'\n');
    return converted;
}

}  // namespace

std::vector<std::u16string> PlainTextLines::lines() const
{
    const QStringList all = editor_.lines();
    std::vector<std::u16string> result;
    result.reserve(static_cast<size_t>(all.size()));
    for (const QString& line : all)
        result.push_back(line.toStdU16String());
    return result;
}

int PlainTextLines::lineCount() const
{
    return editor_.lineCount();
}

std::u16string PlainTextLines::firstLine() const
{
    return editor_.lineText(0).toStdU16String();
}

void PlainTextLines::replaceLines(const std::vector<std::u16string>& lines)
{
    editor_.loadText(joinLines(lines));
}

std::u16string PlainTextLines::selectedText() const
{
    QString text = editor_.textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.toStdU16String();
}

void PlainTextLines::replaceSelection(const std::u16string& text)
{
    QTextCursor cursor = editor_.textCursor();
    cursor.beginEditBlock();
    cursor.insertText(withLineFeeds(text));
    cursor.endEditBlock();
    editor_.setTextCursor(cursor);
}

int PlainTextLines::selectionStartLine() const
{
    const QTextCursor cursor = editor_.textCursor();
    return editor_.document()->findBlock(cursor.selectionStart()).blockNumber();
}

void PlainTextLines::insertLines(int at, const std::vector<std::u16string>& items)
{
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(items.size()));
    for (const std::u16string& item : items)
        lines << QString::fromStdU16String(item);
    editor_.insertLines(at, lines);
}

}  // namespace textops::ui
