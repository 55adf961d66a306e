// A plain-text table for a terminal: a header line, a rule, one line per row,
// columns as wide as their widest cell. Widths are display widths, so CJK
// text, emoji and combining marks line up. Cells are shown escaped
// (TerminalText). When the line has a width (a terminal's), the widest
// columns give way until the table fits, and their longer cells are cut with
// "..."; without one (output to a file or a pipe) every value is kept whole.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class TextTable {
 public:
  // A column that may not shrink (times, numbers) always shows whole values.
  void AddColumn(const std::string& header, bool mayShrink = true);
  void AddRow(std::vector<std::string> cells);
  bool Empty() const { return rows_.empty(); }
  // Writes the table indented by indent blanks, within lineWidth columns
  // (0: no limit).
  void Print(std::ostream& out, size_t indent, size_t lineWidth) const;
  void Print(std::ostream& out, size_t indent = 2) const { Print(out, indent, lineWidth_); }

  // The line width of every table printed without one: the terminal's, or 0.
  static void SetLineWidth(size_t width) { lineWidth_ = width; }

 private:
  static size_t lineWidth_;
  std::vector<std::string> headers_;
  std::vector<bool> mayShrink_;
  std::vector<std::vector<std::string>> rows_;
};

// The columns that text takes on a terminal.
size_t DisplayWidth(const std::string& text);
// A push or share time (seconds since 1970) in UTC, as "2026-01-05 09:30";
// "-" for 0.
std::string FormatTime(uint32_t seconds);
