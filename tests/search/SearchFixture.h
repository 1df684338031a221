#pragma once

#include "FakeResultGrid.h"
#include "FakeSearchHost.h"
#include "common/Utf.h"
#include "editor/RunningCadFixture.h"
#include "grid/TUndoCells.h"
#include "search/SearchContext.h"
#include "search/SearchResults.h"
#include "search/TextSearch.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace search::test {

inline std::string utf8(const std::u16string& text)
{
    return common::toUtf8(text);
}

// An empty KelvoCAD drawing running under the default ProgID, page 3 of plain fields, and
// the page's records, wired the way the main window wires them.
class SearchFixture : public cadlink::test::RunningCadFixture {
protected:
    FakeSearchHost host;
    FakeResultGrid grid;
    std::vector<editor::Kelvo2> SearchHits;
    grid::TUndoCells FUndoCells2;
    int sgUndoCnt2 = 0;
    editor::LineEditorFields fields;
    SearchContext context{link, host, grid, SearchHits, FUndoCells2, sgUndoCnt2, fields};

    void SetUp() override
    {
        RunningCadFixture::SetUp();
        grid.onClick = [this] { StringGrid2Click(context); };
    }

    std::u16string addText(const std::u16string& string, double x = 0.0, double y = 0.0,
                           const std::u16string& layer = u"0")
    {
        kelvocad::TextEntity text;
        text.string = string;
        text.layer = layer;
        text.insertionPoint = {x, y, 0.0};
        text.alignmentPoint = {x, y, 0.0};
        drawing().addLayer(layer);
        return drawing().addText(text);
    }

    std::u16string stringOf(const std::u16string& handle)
    {
        const auto* t = drawing().findText(handle);
        if (!t)
            throw std::runtime_error("no TEXT " + utf8(handle));
        return t->string;
    }

    std::vector<std::string> snapshot() override
    {
        std::vector<std::string> lines;
        for (const auto& e : drawing().entities())
            if (const auto* t = std::get_if<kelvocad::TextEntity>(&e))
                lines.push_back(utf8(t->handle) + ' ' + utf8(t->layer) + ' ' + utf8(t->string));
        return lines;
    }

    // A search for the given text, as a click on "検索" runs it.
    void searchFor(const std::u16string& text, bool prefix = false)
    {
        host.edit3 = text;
        host.checkBox3 = prefix;
        SpeedButton14Click(context);
    }

    // The CAD application gone from the running object table, its ProgID still registered.
    void endCad() { runningObjects.revoke(link.progId); }
};

}  // namespace search::test
