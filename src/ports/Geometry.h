#pragma once

namespace veldrane {

// Window pixels: x grows to the right, y downwards, the origin at the client area's top-left.
struct Point
{
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(const Point&, const Point&) = default;
};

struct Size
{
    int width = 0;
    int height = 0;

    friend constexpr bool operator==(const Size&, const Size&) = default;
};

// A rectangle as the window system gives it: the right and bottom edges lie outside, so a point
// belongs to it when left <= x < right and top <= y < bottom.
struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
    constexpr Point TopLeft() const { return {left, top}; }
    constexpr Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    constexpr bool Intersects(const Rect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }

    static constexpr Rect At(Point topLeft, Size size)
    {
        return {topLeft.x, topLeft.y, topLeft.x + size.width, topLeft.y + size.height};
    }

    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

} // namespace veldrane
