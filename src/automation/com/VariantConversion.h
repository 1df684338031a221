#pragma once

#include "automation/Variant.h"

#include <windows.h>
#include <oleauto.h>

#include <string>

namespace automation::com {

// VARIANT to Variant: every kind the object model exchanges (BSTR, I2, I4, R8, BOOL, arrays of
// I2, R8, VARIANT and DISPATCH, DISPATCH, omitted), plus the integer and floating kinds a
// server may answer with instead. Objects become client proxies, or the object itself when
// it is one of ours served in this process. Throws AutomationError(TypeMismatch) for kinds
// without a counterpart.
Variant fromComVariant(const VARIANT& value);

// Variant to VARIANT, into a cleared VARIANT. Objects are handed out as IDispatch: a proxy's
// own remote object, any other object behind a new server adapter.
void toComVariant(const Variant& value, VARIANT* out);

std::u16string fromBstr(BSTR text);
BSTR toBstr(std::u16string_view text);

}  // namespace automation::com
