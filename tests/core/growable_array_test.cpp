#include "growable_array.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(GrowableArray, AppendingOneAtATimeFollowsTheCapacityRule) {
    CGrowableArray<std::int64_t> array;
    std::vector<std::int64_t> capacities;
    std::int64_t firstBigStepFrom = 0;
    for (std::int64_t i = 0; i < 20000; ++i) {
        const std::int64_t before = array.GetCapacity();
        array.Add(i);
        if (array.GetCapacity() != before) {
            capacities.push_back(array.GetCapacity());
            if (array.GetCapacity() - before == 1024 && firstBigStepFrom == 0)
                firstBigStepFrom = before;
        }
    }
    const std::vector<std::int64_t> expected{1,  5,  9,  13, 17, 21, 25, 29, 33,  37,
                                             41, 46, 51, 57, 64, 72, 81, 91, 102, 114};
    EXPECT_EQ(std::vector<std::int64_t>(capacities.begin(), capacities.begin() + 20), expected);
    EXPECT_EQ(firstBigStepFrom, 8679);
    for (std::int64_t i = 0; i < 20000; ++i)
        ASSERT_EQ(array[i], i) << "growth keeps the records";
}

// A store's records grow by half at a time: two million records take few reallocations, and
// no more than half of them is slack.
TEST(GrowableArray, GeometricGrowthReallocatesRarelyWithBoundedSlack) {
    CGrowableArray<std::int64_t, Growth::Geometric> array;
    int reallocations = 0;
    for (std::int64_t i = 0; i < 2000000; ++i) {
        const std::int64_t before = array.GetCapacity();
        array.Add(i);
        reallocations += array.GetCapacity() != before;
        ASSERT_LE(array.GetCapacity(), array.GetSize() + std::max<std::int64_t>(array.GetSize() / 2, 4));
    }
    EXPECT_LE(reallocations, 40);
    EXPECT_EQ(array[1999999], 1999999);
}

TEST(GrowableArray, SetSizeAllocatesExactlyFirstAndZeroesNewElements) {
    CGrowableArray<int> array;
    array.SetSize(1440);
    EXPECT_EQ(array.GetSize(), 1440);
    EXPECT_EQ(array.GetCapacity(), 1440);
    array[0] = 7;
    array[1439] = 9;
    array.SetSize(10); // within the capacity: the storage stays
    EXPECT_EQ(array.GetCapacity(), 1440);
    array.SetSize(1440);
    EXPECT_EQ(array[0], 7);
    EXPECT_EQ(array[1439], 0) << "elements that come back are zero";
    array.SetSize(1441); // past the capacity: step of size / 8
    EXPECT_EQ(array.GetCapacity(), 1440 + 180);
    array.SetSize(5000); // a request larger than the step is met exactly
    EXPECT_EQ(array.GetCapacity(), 5000);
    array.Zero();
    EXPECT_EQ(array[0], 0);
    EXPECT_EQ(array.GetSize(), 5000);
    array.SetSize(0);
    EXPECT_EQ(array.GetCapacity(), 0);
    EXPECT_EQ(array.data(), nullptr);
}

} // namespace
