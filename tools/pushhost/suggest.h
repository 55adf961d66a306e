// "Did you mean" for a misspelt name: the closest known name, when it is
// close enough to be the one meant.
#pragma once

#include <string>
#include <vector>

// " (did you mean \"NAME\"?)" for the known name nearest to name (letters
// compared without case; a few edits at most), or empty.
std::string DidYouMean(const std::string& name, const std::vector<std::string>& known);
