#include "suggest.h"

#include <algorithm>
#include <cctype>

namespace {

// Edits (insert, delete, replace, swap of neighbours) from one to the other.
size_t Distance(const std::string& a, const std::string& b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  auto same = [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  };
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                          d[i - 1][j - 1] + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
      if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::string DidYouMean(const std::string& name, const std::vector<std::string>& known) {
  const std::string* best = nullptr;
  size_t bestDistance = 0;
  for (const std::string& candidate : known) {
    size_t distance = Distance(name, candidate);
    if (!best || distance < bestDistance) {
      best = &candidate;
      bestDistance = distance;
    }
  }
  // A third of the name may be wrong, at least one letter and at most three.
  const size_t allowed = std::min<size_t>(3, std::max<size_t>(1, name.size() / 3));
  if (!best || bestDistance > allowed) return "";
  return " (did you mean \"" + *best + "\"?)";
}
