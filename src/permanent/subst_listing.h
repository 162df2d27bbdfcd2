#pragma once
#include <string>
#include <vector>

namespace kestrane {

// The drive letters of subst's listing, in upper case and in listing order: a line names the
// letter it begins with ("Q:\: => C:\Data" names Q); a line that begins with anything else names
// none.
std::vector<char> LettersInListing(const std::vector<std::string>& lines);

}  // namespace kestrane
