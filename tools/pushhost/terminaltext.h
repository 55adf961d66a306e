// Text from pushes comes from the network, and a terminal obeys what it is
// sent: an escape sequence recolours it, moves the cursor or retitles the
// window, a carriage return overwrites what was shown, and an invisible
// direction override reorders a line. Every text pushhost prints passes
// through here, so that such characters are shown, escaped, not obeyed.
#pragma once

#include <string>

class TerminalText {
 public:
  // Plain text: the C0 and C1 controls, DEL, the direction overrides and
  // isolates, and bytes that are not UTF-8 become "\t", "\n", "\r", "\x1B",
  // "\u202E" or "\xFF" and so on; everything else stays as it is.
  static std::string Plain(const std::string& text);

  // JSON text, whose strings already escape the C0 controls: the rest of them
  // become "\u007F" and so on, and bytes that are not UTF-8 become "\uFFFD",
  // so the text stays valid JSON. A line feed can only be one between values
  // and stays.
  static std::string InJson(const std::string& json);
};
