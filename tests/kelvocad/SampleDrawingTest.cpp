#include "kelvocad/model/SampleDrawing.h"

#include "common/Utf.h"
#include "kelvocad/model/Drawing.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kelvocad {
namespace {

TEST(SampleDrawing, HoldsWhatTheDemosNeed)
{
    const auto drawing = makeSampleDrawing();
    int texts = 0, wires = 0, onLockedLayer = 0;
    std::map<std::u16string, int> references;
    std::set<std::u16string> handles;
    auto isHandle = [](const std::u16string& h) {
        return !h.empty() && h.find_first_not_of(u"0123456789ABCDEF") == std::u16string::npos;
    };
    for (const auto& e : drawing->entities()) {
        ASSERT_TRUE(isHandle(handleOf(e)));
        EXPECT_TRUE(handles.insert(handleOf(e)).second);
        if (const auto* t = std::get_if<TextEntity>(&e)) {
            ++texts;
            wires += t->string.starts_with(u"W-");
            onLockedLayer += drawing->isLayerLocked(t->layer);
        } else {
            const auto& r = std::get<BlockReference>(e);
            ++references[r.name];
            for (const auto& a : r.attributes) {
                EXPECT_TRUE(isHandle(a.handle));
                EXPECT_TRUE(handles.insert(a.handle).second);
            }
        }
    }
    EXPECT_GE(texts, 40);
    EXPECT_EQ(wires, 10);
    EXPECT_GE(onLockedLayer, 3);
    EXPECT_EQ(references.size(), 3u);
    EXPECT_TRUE(drawing->journal().stepCount() == 0);
}

TEST(SampleDrawing, BlockDefinitionsCarryTheTagGroups)
{
    const auto drawing = makeSampleDrawing();
    const std::vector<std::vector<std::u16string>> groups = {
        {u"PIN1", u"IOADRS", u"JCMNT1", u"JCMNT2"}, {u"NAME", u"NAME1", u"SPEC", u"TYPE"}, {u"SENBAN"}};
    ASSERT_EQ(drawing->blocks().size(), groups.size());
    for (size_t i = 0; i < groups.size(); ++i) {
        const auto& block = drawing->blocks()[i];
        ASSERT_EQ(block.attributes.size(), groups[i].size());
        for (size_t j = 0; j < groups[i].size(); ++j) {
            SCOPED_TRACE(common::toUtf8(groups[i][j]));
            EXPECT_EQ(block.attributes[j].tag, groups[i][j]);
            ASSERT_FALSE(block.attributes[j].prompt.empty());
            EXPECT_GT(block.attributes[j].prompt.back(), u'\x7f');  // a Japanese prompt
        }
    }
    // Every reference carries one attribute per definition, tags in definition order.
    for (const auto& e : drawing->entities())
        if (const auto* r = std::get_if<BlockReference>(&e)) {
            const auto* block = drawing->findBlock(r->name);
            ASSERT_NE(block, nullptr);
            ASSERT_EQ(r->attributes.size(), block->attributes.size());
            for (size_t j = 0; j < r->attributes.size(); ++j)
                EXPECT_EQ(r->attributes[j].tag, block->attributes[j].tag);
        }
}

}  // namespace
}  // namespace kelvocad
