#pragma once

#include "FakeCellGrid.h"
#include "common/Utf.h"
#include "editor/RunningCadFixture.h"
#include "editor/records/EntityArrays.h"
#include "editor/records/LineEditorFields.h"
#include "grid/GridContext.h"
#include "grid/GridPageHost.h"
#include "grid/TUndoCells.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace grid::test {

inline std::string utf8(const std::u16string& text)
{
    return common::toUtf8(text);
}

// The grid page as plain fields that record what the operations do to them.
class FakeGridPageHost : public GridPageHost {
public:
    std::u16string comboBox2;
    std::u16string label1 = u"L1";
    std::u16string label2 = u"L2";
    std::u16string label5;
    std::vector<std::u16string> label5History;
    int progressMax = -1;
    int progressPosition = -1;
    int progressSteps = 0;
    std::u16string panels[2] = {u"P0", u"P1"};
    std::optional<bool> speedButton11;
    std::optional<bool> speedButton12;
    std::vector<std::u16string> messages;
    bool run = false;
    int pumps = 0;
    // Stop is pressed at the first pump after Label5 has shown this text.
    std::u16string stopAfterLabel5;
    std::function<void()> onPump;
    std::vector<int> waits;  // milliseconds, one entry per wait
    std::function<void()> onWait;

    std::u16string ComboBox2Item() const override { return comboBox2; }
    void setLabel1Text(const std::u16string& text) override { label1 = text; }
    void setLabel2Text(const std::u16string& text) override { label2 = text; }
    void setLabel5Text(const std::u16string& text) override
    {
        label5 = text;
        label5History.push_back(text);
    }
    void resetProgressBar1(int maximum) override
    {
        progressMax = maximum;
        progressPosition = 0;
    }
    void stepProgressBar1() override
    {
        ++progressPosition;
        ++progressSteps;
    }
    void setProgressBar1Position(int position) override { progressPosition = position; }
    void setStatusPanelText(int panel, const std::u16string& text) override { panels[panel] = text; }
    void setSpeedButton11Enabled(bool enabled) override { speedButton11 = enabled; }
    void setSpeedButton12Enabled(bool enabled) override { speedButton12 = enabled; }
    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    void processPendingMessages() override
    {
        ++pumps;
        if (!stopAfterLabel5.empty() && label5 == stopAfterLabel5)
            run = false;
        if (onPump)
            onPump();
    }
    void waitProcessingMessages(int milliseconds) override
    {
        waits.push_back(milliseconds);
        if (onWait)
            onWait();
    }
    bool runFlag() const override { return run; }
    void setRunFlag(bool value) override { run = value; }
};

// An empty KelvoCAD drawing running under the default ProgID and the attribute grid page,
// wired the way the main window wires them.
class GridFixture : public cadlink::test::RunningCadFixture {
protected:
    FakeGridPageHost host;
    FakeCellGrid grid;
    editor::EntityArrays arrays;
    TUndoCells FUndoCells;
    int sgUndoCnt = 0;
    editor::LineEditorFields fields;
    GridContext context{link, host, grid, arrays.GridBlocks, arrays.GridAttributes, FUndoCells, sgUndoCnt, fields};

    void addBlock(const std::u16string& name, std::vector<std::pair<std::u16string, std::u16string>> tagsAndPrompts)
    {
        kelvocad::BlockDefinition block;
        block.name = name;
        for (const auto& [tag, prompt] : tagsAndPrompts) {
            kelvocad::AttributeDefinition definition;
            definition.tag = tag;
            definition.prompt = prompt;
            block.attributes.push_back(definition);
        }
        drawing().addBlock(block);
    }

    // A block reference with attributes tag=value in this order; each attribute stands one
    // unit right of and above the reference.
    std::u16string addReference(const std::u16string& block, double x, double y,
                                std::vector<std::pair<std::u16string, std::u16string>> attributes)
    {
        kelvocad::BlockReference reference;
        reference.name = block;
        reference.layer = u"DEV";
        reference.insertionPoint = {x, y, 0.0};
        for (const auto& [tag, value] : attributes) {
            kelvocad::AttributeReference attribute;
            attribute.tag = tag;
            attribute.string = value;
            attribute.insertionPoint = {x + 1, y + 1, 0.0};
            attribute.layer = u"ATT";
            reference.attributes.push_back(attribute);
        }
        return drawing().addBlockReference(reference);
    }

    std::u16string attributeHandle(const std::u16string& reference, size_t index)
    {
        return drawing().findBlockReference(reference)->attributes.at(index).handle;
    }
    std::u16string attributeValue(const std::u16string& handle) { return drawing().findAttribute(handle)->string; }

    // The grid's texts, one string per row with cells joined by "|"; a cell without an
    // attribute object is marked with "#" after its text.
    std::vector<std::u16string> gridRows()
    {
        std::vector<std::u16string> rows;
        for (int r = 0; r < grid.RowCount(); ++r) {
            std::u16string row;
            for (int c = 0; c < grid.ColCount(); ++c) {
                if (c)
                    row += u"|";
                row += grid.cellText(c, r);
                if (c > 0 && r > 0 && grid.cellObject(c, r) == 0)
                    row += u"#";
            }
            rows.push_back(row);
        }
        return rows;
    }

    // Everything an operation may change in the drawing, one line per block reference.
    std::vector<std::string> snapshot() override
    {
        std::vector<std::string> lines;
        for (const auto& e : drawing().entities()) {
            if (const auto* b = std::get_if<kelvocad::BlockReference>(&e)) {
                std::ostringstream out;
                out << utf8(b->handle);
                for (const auto& a : b->attributes)
                    out << ' ' << utf8(a.tag) << '=' << utf8(a.string);
                lines.push_back(out.str());
            }
        }
        return lines;
    }
};

}  // namespace grid::test
