#pragma once

#include "kelvocad/model/DrawingRecords.h"
#include "kelvocad/objects/CadObject.h"

#include <vector>

namespace kelvocad {

struct SelectionSetData;
class SelectionFilter;

// One named selection set. After Delete the set is gone from the document and every
// further access to this object fails.
class SelectionSetObject : public CadObject {
public:
    SelectionSetObject(std::shared_ptr<CadSession> session, std::shared_ptr<SelectionSetData> set);

    std::u16string id() const override;
    automation::Variant dispatch(MemberAccess access, std::u16string_view member,
                                 std::span<const automation::Variant> args, const automation::Variant* value) override;

    SelectionSetData& data() const;
    // Adds the entities that pass the filter and are not in the set yet.
    void addMatching(const std::vector<const ModelEntity*>& entities, const SelectionFilter& filter);
    void selectOnScreen(const automation::Variant& types, const automation::Variant& values);
    void select(int mode, const automation::Variant& types, const automation::Variant& values);
    void deleteSet();

private:
    std::shared_ptr<SelectionSetData> set_;
};

}  // namespace kelvocad
