#include "kelvocad/model/SelectionFilter.h"

#include "automation/AutomationError.h"
#include "automation/Variant.h"
#include "common/Utf.h"

#include <string>

namespace kelvocad {

using automation::AutomationError;
namespace hr = automation::hr;

namespace {

LetterCase letterCaseOf(int groupCode)
{
    return groupCode == 1 ? LetterCase::Sensitive : LetterCase::Insensitive;
}

bool isSupported(int groupCode)
{
    return groupCode == 0 || groupCode == 1 || groupCode == 2 || groupCode == 8 || groupCode == 66;
}

}  // namespace

SelectionFilter SelectionFilter::fromVariants(const automation::Variant& types, const automation::Variant& values)
{
    SelectionFilter filter;
    const bool noTypes = types.isOmitted() || types.isEmpty();
    const bool noValues = values.isOmitted() || values.isEmpty();
    if (noTypes && noValues)
        return filter;
    if (noTypes || noValues)
        throw AutomationError(hr::InvalidArg, u"Filter types and values must be given together");
    if (!types.isArray() || !values.isArray())
        throw AutomationError(hr::TypeMismatch, u"Filter types and values must be arrays");
    if (types.arraySize() != values.arraySize())
        throw AutomationError(hr::InvalidArg, u"Filter types and values differ in length");
    for (size_t i = 0; i < types.arraySize(); ++i) {
        const int code = types.at(i).toInt();
        const automation::Variant value = values.at(i);
        if (code == 66)
            filter.add(code, common::fromAscii(std::to_string(value.toInt())));
        else
            filter.add(code, value.toString());
    }
    return filter;
}

void SelectionFilter::add(int groupCode, std::u16string value)
{
    if (!isSupported(groupCode))
        throw AutomationError(hr::InvalidArg,
                              u"Unsupported filter group code " + common::fromAscii(std::to_string(groupCode)));
    WildcardPattern pattern(value, letterCaseOf(groupCode));
    clauses_.push_back({groupCode, std::move(value), std::move(pattern)});
}

bool SelectionFilter::matches(const ModelEntity& entity) const
{
    const auto* text = std::get_if<TextEntity>(&entity);
    const auto* reference = std::get_if<BlockReference>(&entity);
    for (const Clause& clause : clauses_) {
        bool ok = false;
        switch (clause.groupCode) {
        case 0:
            ok = clause.pattern.matches(text ? u"TEXT" : u"INSERT");
            break;
        case 1:
            ok = text && clause.pattern.matches(text->string);
            break;
        case 2:
            ok = reference && clause.pattern.matches(reference->name);
            break;
        case 8:
            ok = clause.pattern.matches(text ? text->layer : reference->layer);
            break;
        case 66:
            ok = reference && clause.value == (reference->attributes.empty() ? u"0" : u"1");
            break;
        }
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace kelvocad
