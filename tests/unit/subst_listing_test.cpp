#include "drives/subst_listing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrane {
namespace {

TEST(SubstListing, EachLineGivesTheLetterItBeginsWith) {
  EXPECT_EQ(LettersInListing({"P:\\: => C:\\Data", "q:\\: => C:\\Work"}),
            (std::vector<char>{'P', 'Q'}));
}

TEST(SubstListing, LinesThatBeginWithoutALetterNameNone) {
  EXPECT_EQ(LettersInListing({"", " P:\\: => C:\\", "1:\\", "\xc3\xa9:\\: => C:\\", "\x80"}),
            std::vector<char>{});
}

}  // namespace
}  // namespace kestrane
