// A plain-text table for a terminal: a header line, a rule, one line per row,
// columns as wide as their widest cell up to a limit, longer cells cut with
// "...". Widths count characters, not bytes, so UTF-8 text lines up.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class TextTable {
 public:
  // maxWidth 0 means no limit for that column.
  void AddColumn(const std::string& header, size_t maxWidth = 0);
  void AddRow(std::vector<std::string> cells);
  bool Empty() const { return rows_.empty(); }
  // Writes the table indented by indent blanks.
  void Print(std::ostream& out, size_t indent = 2) const;

 private:
  struct Column {
    std::string header;
    size_t maxWidth;
  };
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;
};

// Characters in UTF-8 text (bytes that do not continue a sequence).
size_t DisplayWidth(const std::string& text);
// A push or share time (seconds since 1970, UTC) as "2026-01-05 09:30";
// "-" for 0.
std::string FormatTime(uint32_t seconds);
