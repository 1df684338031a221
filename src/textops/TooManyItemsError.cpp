#include "textops/TooManyItemsError.h"

#include "common/Utf.h"

namespace textops {

namespace {

std::string messageText(const std::u16string& requested, std::int64_t limit)
{
    return "作成数 " + common::toUtf8(requested) + " は多すぎます。一度に作成できるのは "
        + std::to_string(limit) + " 行までです。";
}

}  // namespace

TooManyItemsError::TooManyItemsError(std::u16string requested, std::int64_t limit)
    : std::runtime_error(messageText(requested, limit)), requested_(std::move(requested)), limit_(limit)
{
}

std::u16string TooManyItemsError::message() const
{
    return common::fromUtf8(what());
}

}  // namespace textops
