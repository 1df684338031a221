#include "kelvocad/objects/MemberArgs.h"

#include "automation/AutomationError.h"

namespace kelvocad {

Point3 MemberArgs::toPoint(const automation::Variant& value)
{
    if (!value.isArray() || value.arraySize() < 2 || value.arraySize() > 3)
        throw automation::AutomationError(automation::hr::TypeMismatch, u"A point is an array of three numbers");
    Point3 p;
    p.x = value.doubleAt(0);
    p.y = value.doubleAt(1);
    p.z = value.arraySize() == 3 ? value.doubleAt(2) : 0.0;
    return p;
}

automation::Variant MemberArgs::fromPoint(const Point3& point)
{
    return automation::Variant::point(point.x, point.y, point.z);
}

}  // namespace kelvocad
