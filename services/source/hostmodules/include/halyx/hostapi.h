// Calling convention and symbol visibility of the host product's modules.
//
// Every function that crosses a module boundary uses the caller-cleans
// convention. A module defines HALYX_BUILDING_<NAME> while it builds itself, so
// that its own declarations export and everybody else's import.
#pragma once

#if defined(_WIN32)
#define HALYX_CDECL __cdecl
#define HALYX_EXPORT __declspec(dllexport)
#define HALYX_IMPORT __declspec(dllimport)
#else
#define HALYX_CDECL
#define HALYX_EXPORT __attribute__((visibility("default")))
#define HALYX_IMPORT
#endif

#include <cstdint>

// An entry of a function table that nobody calls: kept only to hold its place.
typedef void(HALYX_CDECL* HalyxUnusedEntry)();
