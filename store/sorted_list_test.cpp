// TSortedList defines the order in which exports give entries that sort
// as equal; no program sorts through it at run time, so the order itself is
// checked on exports (older_formats_convert_test.cpp).
#include "sorted_list.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

// A string equal to the first goes before it, one equal to the last after
// it, also where a longer list is searched by bisection.
TEST(TSortedList, PlacesEqualStringsAtTheEnds) {
    for (int n : {2, 9}) {
        TSortedList list;
        for (int i = 0; i < n; ++i)
            ASSERT_GE(list.Insert(std::string(1, static_cast<char>('b' + i))), 0);
        EXPECT_EQ(list.Insert("B"), 0) << n;
        std::string first;
        ASSERT_TRUE(list.Get(0, first, 10));
        EXPECT_EQ(first, "B") << n;
        EXPECT_EQ(list.Insert(std::string(1, static_cast<char>('B' + n - 1))), n + 1) << n;
        EXPECT_EQ(list.Insert("a"), 0) << n;
    }
}

}  // namespace
}  // namespace vrk
