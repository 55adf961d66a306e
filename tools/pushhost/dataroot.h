// Where the host product keeps its data: <documents>\Corvane Files\Halyx\,
// with one folder per user for the message databases.
#pragma once

#include <cstdint>
#include <string>

// The data root with a trailing '\', or empty when the documents folder is
// unknown. Paths use '\' as the library writes them; the system layer and the
// modules accept it on every platform.
std::string DataRoot();
std::string UserFolder(uint32_t userNumber);

// The path as a person reads it: with '/' throughout where the system's own
// part of it uses '/'.
std::string ForDisplay(const std::string& path);

// Empty when the data root is known and, with forWriting, a file can be made
// in it (it is created when missing); else what stands in the way, in words
// that name the folder.
std::string DataRootProblem(bool forWriting);

// Removes a folder and everything in it; true when it is gone afterwards.
bool RemoveFolder(const std::string& path);
