#pragma once

#include <windows.h>
#include <oleauto.h>

namespace automation::com {

// Owns one VARIANT: cleared when it goes, and by put() before it is filled again.
class ComVariant {
public:
    ComVariant() { VariantInit(&value_); }
    ~ComVariant() { VariantClear(&value_); }
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;
    ComVariant(ComVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

    VARIANT* put()
    {
        VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const noexcept { return value_; }
    VARIANT* data() noexcept { return &value_; }

private:
    VARIANT value_;
};

// Owns one BSTR.
class ComBstr {
public:
    ComBstr() = default;
    explicit ComBstr(BSTR adopted) : value_(adopted) {}
    ~ComBstr() { SysFreeString(value_); }
    ComBstr(const ComBstr&) = delete;
    ComBstr& operator=(const ComBstr&) = delete;

    BSTR* put()
    {
        SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }
    BSTR get() const noexcept { return value_; }

private:
    BSTR value_ = nullptr;
};

}  // namespace automation::com
