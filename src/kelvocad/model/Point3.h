#pragma once

namespace kelvocad {

// A point of the drawing in world coordinates.
struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    friend bool operator==(const Point3&, const Point3&) = default;
    Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
};

}  // namespace kelvocad
