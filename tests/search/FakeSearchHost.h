#pragma once

#include "search/SearchHost.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace search::test {

// Page 3 made of plain fields, recording what the operations do to it. Numbers use the C
// locale; the ui's locale handling is its own concern.
class FakeSearchHost : public SearchHost {
public:
    std::u16string edit3;
    bool edit3Enabled = true;
    bool checkBox3 = false;
    bool checkBox5 = true;
    bool checkBox8 = true;
    std::u16string caption = u"検索";
    bool speedButton15 = false;
    std::u16string label6;
    std::vector<std::u16string> label6History;
    std::u16string label7 = u"検索 (部分一致)";
    std::u16string panels[2];

    bool editorOpen = false;

    std::optional<textops::TikanFields> dialogAnswer;  // what the replace dialog ends with
    std::u16string dialogPrefill;

    std::vector<std::u16string> messages;
    bool run = false;
    int pumps = 0;
    std::function<void(int)> onPump;  // called with the pump's number, from 1
    int inputHeldPumps = 0;
    std::function<void()> onInputHeldPump;

    std::u16string Edit3Text() const override { return edit3; }
    void setEdit3Enabled(bool enabled) override { edit3Enabled = enabled; }
    bool CheckBox3Checked() const override { return checkBox3; }
    bool CheckBox5Checked() const override { return checkBox5; }
    bool CheckBox8Checked() const override { return checkBox8; }
    std::u16string SpeedButton14Caption() const override { return caption; }
    void setSpeedButton14Caption(const std::u16string& text) override { caption = text; }
    bool SpeedButton15Enabled() const override { return speedButton15; }
    void setSpeedButton15Enabled(bool enabled) override { speedButton15 = enabled; }
    void setLabel6(const std::u16string& text) override
    {
        label6 = text;
        label6History.push_back(text);
    }
    void setLabel7(const std::u16string& text) override { label7 = text; }
    void setStatusPanelText(int panel, const std::u16string& text) override { panels[panel] = text; }
    std::u16string formatPoint(double x, double y) const override
    {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%.3f, %.3f", x, y);
        std::u16string text;
        for (const char* p = buffer; *p; ++p)
            text += static_cast<char16_t>(*p);
        return text;
    }

    bool cellEditorOpen() const override { return editorOpen; }

    std::optional<textops::TikanFields> runReplaceDialog(const std::u16string& topLeftText) override
    {
        dialogPrefill = topLeftText;
        return dialogAnswer;
    }

    void showInformation(const std::u16string& text) override { messages.push_back(text); }
    void processPendingMessages() override
    {
        ++pumps;
        if (onPump)
            onPump(pumps);
    }
    void processMessagesHoldingInput() override
    {
        ++inputHeldPumps;
        if (onInputHeldPump)
            onInputHeldPump();
    }
    bool runFlag() const override { return run; }
    void setRunFlag(bool value) override { run = value; }
};

}  // namespace search::test
