#include "texttable.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "hostkit/hostos.h"
#include "terminaltext.h"

size_t TextTable::lineWidth_ = 0;

namespace {

// Calls each(start, length, width) for every character of valid UTF-8 text
// (escaped cells are valid) until it returns false.
template <typename Each>
void ForEachChar(const std::string& text, Each each) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    length = std::min(length, text.size() - i);
    uint32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t k = 1; k < length; ++k) point = (point << 6) | (text[i + k] & 0x3F);
    if (!each(i, length, static_cast<size_t>(hostos::CharWidth(point)))) return;
    i += length;
  }
}

// The longest start of text that takes at most width columns.
std::string Cut(const std::string& text, size_t width) {
  size_t used = 0;
  size_t end = 0;
  ForEachChar(text, [&](size_t start, size_t length, size_t charWidth) {
    if (used + charWidth > width) return false;
    used += charWidth;
    end = start + length;
    return true;
  });
  return text.substr(0, end);
}

std::string Fit(const std::string& text, size_t width) {
  if (DisplayWidth(text) <= width) return text;
  if (width <= 3) return Cut(text, width);
  return Cut(text, width - 3) + "...";
}

}  // namespace

size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  ForEachChar(text, [&](size_t, size_t, size_t charWidth) {
    width += charWidth;
    return true;
  });
  return width;
}

void TextTable::AddColumn(const std::string& header, bool mayShrink) {
  headers_.push_back(header);
  mayShrink_.push_back(mayShrink);
}

void TextTable::AddRow(std::vector<std::string> cells) {
  cells.resize(headers_.size());
  for (std::string& cell : cells) cell = TerminalText::Plain(cell);
  rows_.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out, size_t indent, size_t lineWidth) const {
  const size_t count = headers_.size();
  std::vector<size_t> widths;
  std::vector<size_t> least;  // a column keeps its header, or a few characters
  for (size_t c = 0; c < count; ++c) {
    size_t width = DisplayWidth(headers_[c]);
    least.push_back(std::max<size_t>(width, 6));
    for (const auto& row : rows_) width = std::max(width, DisplayWidth(row[c]));
    widths.push_back(width);
    if (!mayShrink_[c]) least.back() = width;
  }
  if (lineWidth > 0 && count > 0) {
    const size_t room = lineWidth > indent + 2 * (count - 1) ? lineWidth - indent - 2 * (count - 1) : 0;
    size_t total = 0;
    for (size_t width : widths) total += width;
    auto slack = [&](size_t c) { return widths[c] > least[c] ? widths[c] - least[c] : 0; };
    while (total > room) {
      size_t widest = 0;
      for (size_t c = 1; c < count; ++c) {
        if (slack(c) > slack(widest)) widest = c;
      }
      if (slack(widest) == 0) break;  // as narrow as it goes; the line wraps
      --widths[widest];
      --total;
    }
  }
  auto line = [&](const std::vector<std::string>& cells) {
    std::string text(indent, ' ');
    for (size_t c = 0; c < count; ++c) {
      std::string cell = Fit(cells[c], widths[c]);
      text += cell;
      if (c + 1 < count) text += std::string(widths[c] - DisplayWidth(cell) + 2, ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out << text << '\n';
  };
  line(headers_);
  std::vector<std::string> rules;
  for (size_t c = 0; c < count; ++c) rules.push_back(std::string(widths[c], '-'));
  line(rules);
  for (const auto& row : rows_) line(row);
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
