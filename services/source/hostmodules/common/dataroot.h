// The host product's data root, "<documents>/Corvane Files/Halyx/", where the
// modules keep their small settings files.
#pragma once

#include <filesystem>

namespace halyx {

// The data root of the current user's documents folder, found anew on every
// call so that a changed documents folder is followed at once. Empty when the
// documents folder cannot be found. Nothing is created.
std::filesystem::path CurrentDataRoot();

}  // namespace halyx
