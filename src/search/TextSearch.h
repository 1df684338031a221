#pragma once

#include "editor/records/Kelvo2.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace search {

struct SearchContext;

enum class MatchPosition { Partial, Prefix };

// The wildcard pattern the CAD matches TEXT strings against: "*" for an empty text, else
// text + "*" (prefix) or "*" + text + "*" (partial). Wildcards typed by the user pass on.
std::u16string searchPattern(std::u16string_view text, MatchPosition position);

// "検索" / "中止": starts a search over the whole drawing and lists the hits, or stops the
// running one. Whatever fails, the page is back at rest (caption "検索", Edit3 enabled)
// before the error leaves.
void SpeedButton14Click(SearchContext& context);

// A changed option ("先頭一致", "a->A") repeats the search at once, or stops the running one,
// when page 3 is the active page and Edit3 holds a search text.
void repeatSearchForOption(SearchContext& context, bool pageActive);

// Orders the hits by text, by UTF-16 code unit; hits with equal texts keep their order.
// The progress label is emptied at the end.
void SortHitsByText(std::vector<editor::Kelvo2>& hits, const std::function<void(const std::u16string&)>& label);

}  // namespace search
