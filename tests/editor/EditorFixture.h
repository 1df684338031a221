#pragma once

#include "FakeLineEditorHost.h"
#include "RunningCadFixture.h"
#include "editor/LineEditorContext.h"
#include "editor/records/EntityArrays.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace editor::test {

inline std::string utf8(const std::u16string& text)
{
    return common::toUtf8(text);
}

// An empty KelvoCAD drawing running under the default ProgID, a page of plain fields and
// the main window's state, wired the way the main window wires them.
class EditorFixture : public cadlink::test::RunningCadFixture {
protected:
    FakeLineEditorHost host;
    EntityArrays arrays;
    LineEditorFields fields;
    LineEditorContext context{link, host, arrays.TextEntities, fields};

    std::u16string addText(const std::u16string& string, double x, double y, const std::u16string& layer = u"0",
                           int alignment = 0)
    {
        kelvocad::TextEntity text;
        text.string = string;
        text.layer = layer;
        text.insertionPoint = {x, y, 0.0};
        text.alignmentPoint = {x + 5.0, y, 0.0};
        text.alignment = alignment;
        drawing().addLayer(layer);
        return drawing().addText(text);
    }

    const kelvocad::TextEntity& text(const std::u16string& handle)
    {
        const auto* t = drawing().findText(handle);
        if (!t)
            throw std::runtime_error("no TEXT " + utf8(handle));
        return *t;
    }

    // The TEXT strings of the drawing, in model-space order.
    std::vector<std::u16string> textStrings()
    {
        std::vector<std::u16string> strings;
        for (const auto& e : drawing().entities())
            if (const auto* t = std::get_if<kelvocad::TextEntity>(&e))
                strings.push_back(t->string);
        return strings;
    }

    // Everything an operation may change, one line per entity.
    std::vector<std::string> snapshot() override
    {
        std::vector<std::string> lines;
        for (const auto& e : drawing().entities()) {
            std::ostringstream out;
            if (const auto* t = std::get_if<kelvocad::TextEntity>(&e)) {
                out << "T " << utf8(t->handle) << ' ' << utf8(t->layer) << ' ' << utf8(t->string) << ' '
                    << t->insertionPoint.x << ',' << t->insertionPoint.y << ' ' << t->alignmentPoint.x << ','
                    << t->alignmentPoint.y << ' ' << t->alignment;
            } else if (const auto* b = std::get_if<kelvocad::BlockReference>(&e)) {
                out << "B " << utf8(b->handle);
                for (const auto& a : b->attributes)
                    out << ' ' << utf8(a.tag) << '=' << utf8(a.string);
            }
            lines.push_back(out.str());
        }
        return lines;
    }

    void setLines(std::vector<std::u16string> lines) { host.lines = std::move(lines); }
};

}  // namespace editor::test
