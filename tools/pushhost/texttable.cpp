#include "texttable.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "terminaltext.h"

size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++width;
  }
  return width;
}

namespace {

// The first width characters of text, never splitting a UTF-8 sequence.
std::string Cut(const std::string& text, size_t width) {
  size_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == width) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

std::string Fit(const std::string& text, size_t maxWidth) {
  if (maxWidth == 0 || DisplayWidth(text) <= maxWidth) return text;
  if (maxWidth <= 3) return Cut(text, maxWidth);
  return Cut(text, maxWidth - 3) + "...";
}

}  // namespace

void TextTable::AddColumn(const std::string& header, size_t maxWidth) {
  columns_.push_back(Column{header, maxWidth});
}

void TextTable::AddRow(std::vector<std::string> cells) {
  cells.resize(columns_.size());
  for (std::string& cell : cells) cell = TerminalText::Plain(cell);
  rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out, size_t indent) const {
  std::vector<size_t> widths;
  for (size_t c = 0; c < columns_.size(); ++c) {
    size_t width = DisplayWidth(columns_[c].header);
    for (const auto& row : rows_) {
      width = std::max(width, DisplayWidth(Fit(row[c], columns_[c].maxWidth)));
    }
    widths.push_back(width);
  }
  auto line = [&](const std::vector<std::string>& cells, bool fit) {
    std::string text(indent, ' ');
    for (size_t c = 0; c < columns_.size(); ++c) {
      std::string cell = fit ? Fit(cells[c], columns_[c].maxWidth) : cells[c];
      text += cell;
      if (c + 1 < columns_.size()) text += std::string(widths[c] - DisplayWidth(cell) + 2, ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
  };
  std::vector<std::string> headers;
  std::vector<std::string> rules;
  for (size_t c = 0; c < columns_.size(); ++c) {
    headers.push_back(columns_[c].header);
    rules.push_back(std::string(widths[c], '-'));
  }
  line(headers, false);
  line(rules, false);
  for (const auto& row : rows_) line(row, true);
}

std::string FormatTime(uint32_t seconds) {
  if (seconds == 0) return "-";
  std::time_t time = static_cast<std::time_t>(seconds);
  std::tm* parts = std::gmtime(&time);
  if (!parts) return std::to_string(seconds);
  char text[32];
  if (std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M", parts) == 0) return std::to_string(seconds);
  return text;
}
