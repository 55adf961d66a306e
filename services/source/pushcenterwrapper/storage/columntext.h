// Texts in byte columns, the way every storage keeps them: the text's bytes
// followed by a terminating zero.
#pragma once

#include <string>

#include "halyx/buffer.h"

// Writes text into column: its bytes and a terminating zero. An empty text is
// one zero byte, or no byte at all when emptyAsNothing is set.
void SetColumnText(Buffer& column, const std::string& text, bool emptyAsNothing = false);

// The text of a column, up to its first zero byte; never reads past the
// column's size, even when a foreign writer left the terminator out.
std::string ColumnToText(const Buffer& column);
