// The per-user data folder: <documents>\Corvane Files\Halyx\<userNumber>\.
//
// Paths are UTF-8 with Windows backslashes; they become UTF-16 only at the
// call of a Windows function. Every folder returned ends with one backslash;
// a failure gives the empty string, never a partial path.
#pragma once

#include <cstdint>
#include <string>

std::string GetDocumentsFolder();
// Created when missing.
std::string GetDataRoot();
// Created when missing.
std::string GetUserDataFolder(uint32_t userNumber);
bool PathExists(const char* utf8Path);
// Creates the folder and its missing parents; false when it already exists.
bool CreateFolderTree(const char* utf8Path);
std::string ToDecimal(uint32_t value);
