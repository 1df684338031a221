#pragma once

#include "kelvocad/model/DrawingRecords.h"
#include "kelvocad/model/WildcardPattern.h"

#include <string>
#include <vector>

namespace automation {
class Variant;
}

namespace kelvocad {

// A selection filter: pairs of DXF group code and value, all of which an entity must meet.
//   0  entity type ("TEXT", "INSERT"), a wildcard pattern, letter case ignored
//   1  the text string of a TEXT, a wildcard pattern; letter case matters, as in the CAD's
//      own wildcard match, so a search for "abc" does not find "ABC" (the search page
//      upper-cases typed letters for exactly that reason)
//   2  the block name of an INSERT, a wildcard pattern, letter case ignored like every
//      table name
//   8  the layer name, a wildcard pattern, letter case ignored
//  66  attributes follow: 1 for a block reference with attributes, 0 for one without
// An entity that has no such group (group 1 of an INSERT, group 2 of a TEXT) does not match.
class SelectionFilter {
public:
    SelectionFilter() = default;

    // From the two parallel arrays of a selection call. Both omitted (or empty) means no
    // filter. Throws AutomationError: hr::InvalidArg for arrays of different length or an
    // unsupported group code, hr::TypeMismatch for values that are not arrays or elements
    // that do not convert.
    static SelectionFilter fromVariants(const automation::Variant& types, const automation::Variant& values);

    void add(int groupCode, std::u16string value);
    bool empty() const noexcept { return clauses_.empty(); }
    bool matches(const ModelEntity& entity) const;

private:
    struct Clause {
        int groupCode;
        std::u16string value;
        WildcardPattern pattern;
    };
    std::vector<Clause> clauses_;
};

}  // namespace kelvocad
