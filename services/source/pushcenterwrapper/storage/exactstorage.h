// Whether every eviction must reach the database.
//
// The centers skip deleting the rows of an evicted message when no row can
// match: the kind's stored messages have been read for the user signed in now,
// and neither the evicted message nor any message the deletion's condition
// would also reach has a row. The outcome on disk is the same as with the
// deletion; setting the environment variable PCW_EXACT_STORAGE to 1 before the
// library starts turns the shortcut off, so that the two can be compared.
#pragma once

bool ExactStorage();
