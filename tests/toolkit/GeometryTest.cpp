#include "toolkit/Geometry.h"

#include <gtest/gtest.h>

namespace velmora::toolkit {
namespace {

TEST(Geometry, RectanglesAreHalfOpenAndEmptyIntersectionsStayEmpty) {
    const CRect knob = CRect::fromSize(10, 20, 36, 37);
    EXPECT_TRUE(knob.pointInside({10, 20}));
    EXPECT_TRUE(knob.pointInside({45.9, 56.9}));
    EXPECT_FALSE(knob.pointInside({46, 30}));
    EXPECT_FALSE(knob.pointInside({20, 57}));

    // Neighbours sharing an edge do not overlap, and their intersection adds nothing to a union.
    const CRect neighbour = CRect::fromSize(46, 20, 10, 10);
    EXPECT_FALSE(knob.rectOverlap(neighbour));
    EXPECT_TRUE(knob.intersect(neighbour).isEmpty());
    EXPECT_EQ(knob.unite(knob.intersect(neighbour)), knob);
    EXPECT_EQ(knob.unite(neighbour), (CRect{10, 20, 56, 57}));
}

TEST(Geometry, PixelRectsMergeOnlyWhenTouching) {
    const PixelRect a{0, 0, 10, 10};
    EXPECT_TRUE(a.touches({10, 0, 20, 10}));
    EXPECT_FALSE(a.touches({11, 0, 20, 10}));
    EXPECT_EQ(a.intersect({20, 20, 30, 30}), PixelRect{});
    EXPECT_EQ(PixelRect::from({0.4, 0.6, 9.5, 10.2}), (PixelRect{0, 1, 10, 10}));
}

} // namespace
} // namespace velmora::toolkit
