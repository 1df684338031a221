#pragma once

#include "common/Utf.h"
#include "editor/LineEditorHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace editor::test {

// A page made of plain fields that records what the operations do to it. Numbers use the
// C locale; the ui's locale handling is its own concern. Its lines, caret and selection
// behave as the page's editor does: LineEditorHostConformanceTest holds the two together.
class FakeLineEditorHost : public LineEditorHost {
public:
    std::vector<std::u16string> lines;
    int caret = 1;
    int column = 1;
    std::u16string selection;
    bool editorCanUndo = false;
    EditorBackground background = EditorBackground::Window;
    int backgroundChanges = 0;
    int replaceCount = 0;
    int ownUndos = 0;

    std::u16string edit1;
    std::u16string edit2;
    std::optional<bool> pitchRed;

    std::u16string label1;
    std::u16string label2;
    std::vector<std::u16string> label2History;
    bool label2Visible = false;
    std::u16string panels[2];
    int panelChanges = 0;

    std::optional<bool> speedButton2;
    bool speedButton3 = true;
    bool speedButton4 = false;
    std::optional<bool> speedButton5;
    std::optional<bool> speedButton6;

    bool checkBox1 = true;
    bool checkBox9 = false;
    std::u16string comboBox1 = u"NAME:機器名";

    std::vector<std::u16string> messages;
    bool run = false;
    int pumps = 0;
    std::function<void(int)> onPump;  // called with the pump's number, from 1

    int lineCount() const override { return static_cast<int>(lines.size()); }
    std::u16string line(int index) const override
    {
        return index >= 0 && index < lineCount() ? lines[static_cast<size_t>(index)] : std::u16string();
    }
    void replaceLines(const std::vector<std::u16string>& newLines) override
    {
        lines = newLines;
        ++replaceCount;
        loaded();
    }
    void caretToStart() override
    {
        caret = 1, column = 1;
        selection.clear();
    }
    std::u16string text() const override
    {
        std::u16string all;
        for (size_t i = 0; i < lines.size(); ++i)
            all += (i ? u"\r\n" : u"") + lines[i];
        return all;
    }
    void setText(const std::u16string& all) override
    {
        lines.clear();
        loaded();
        if (all.empty())
            return;
        std::u16string current;
        for (size_t i = 0; i < all.size(); ++i) {
            if (all[i] == u'\r' || all[i] == u'\n') {
                if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n')
                    ++i;
                lines.push_back(current);
                current.clear();
            } else {
                current += all[i];
            }
        }
        lines.push_back(current);
    }
    // What a user's selection from (line, column) to (line, column), all from 1, leaves: the
    // caret where the selection ends, the text between with lines joined by CR LF.
    void select(int fromLine, int fromColumn, int toLine, int toColumn)
    {
        caret = toLine, column = toColumn;
        const auto offset = [this](int line, int col) {
            size_t at = 0;
            for (int i = 1; i < line; ++i)
                at += lines[static_cast<size_t>(i - 1)].size() + 2;
            return at + static_cast<size_t>(col - 1);
        };
        const std::u16string all = text();
        const size_t from = offset(fromLine, fromColumn);
        const size_t to = offset(toLine, toColumn);
        selection = all.substr(std::min(from, to), from < to ? to - from : from - to);
    }
    int caretLine() const override { return caret; }
    int caretColumn() const override { return column; }
    std::u16string selectedText() const override { return selection; }
    bool canUndo() const override { return editorCanUndo; }
    void undoOneStep() override
    {
        ++ownUndos;
        editorCanUndo = false;
    }
    EditorBackground editorBackground() const override { return background; }
    void setEditorBackground(EditorBackground b) override { background = b, ++backgroundChanges; }

    std::u16string Edit1Text() const override { return edit1; }
    std::u16string Edit2Text() const override { return edit2; }
    void setEdit1Text(const std::u16string& t) override { edit1 = t; }
    void setEdit2Text(const std::u16string& t) override { edit2 = t; }
    void setPitchBoxesRed(bool red) override { pitchRed = red; }

    std::u16string formatNumber(double value) const override
    {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        return common::fromAscii(buffer);
    }
    std::optional<double> parseNumber(const std::u16string& t) const override
    {
        const std::string s = common::toUtf8(t);
        if (s.empty())
            return std::nullopt;
        char* end = nullptr;
        const double value = std::strtod(s.c_str(), &end);
        if (end != s.c_str() + s.size())
            return std::nullopt;
        return value;
    }

    void setLabel1(const std::u16string& t) override { label1 = t; }
    void setLabel2(const std::u16string& t) override
    {
        label2 = t;
        label2History.push_back(t);
    }
    void setLabel2Visible(bool v) override { label2Visible = v; }
    std::u16string statusPanelText(int panel) const override { return panels[panel]; }
    void setStatusPanelText(int panel, const std::u16string& t) override { panels[panel] = t, ++panelChanges; }

    void setSpeedButton2Enabled(bool e) override { speedButton2 = e; }
    void setSpeedButton3Visible(bool v) override { speedButton3 = v; }
    bool SpeedButton4Enabled() const override { return speedButton4; }
    void setSpeedButton4Enabled(bool e) override { speedButton4 = e; }
    void setSpeedButton5Enabled(bool e) override { speedButton5 = e; }
    void setSpeedButton6Enabled(bool e) override { speedButton6 = e; }

    bool CheckBox1Checked() const override { return checkBox1; }
    bool CheckBox9Checked() const override { return checkBox9; }
    std::u16string ComboBox1Text() const override { return comboBox1; }

    void showMessage(const std::u16string& t) override { messages.push_back(t); }
    void processPendingMessages() override
    {
        ++pumps;
        if (onPump)
            onPump(pumps);
    }
    bool runFlag() const override { return run; }
    void setRunFlag(bool value) override { run = value; }

private:
    // Loading lines empties the editor's own history and puts the caret at the start.
    void loaded()
    {
        caretToStart();
        editorCanUndo = false;
    }
};

}  // namespace editor::test
