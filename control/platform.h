// The small platform layer the control talks to. Hosts (the command line, the web page,
// tests) implement it; the control itself never touches a real window system.
#pragma once

#include <string_view>

class Platform {
 public:
  virtual ~Platform() = default;
  // A modal message box with the text, the stop (critical) icon and a single OK button.
  virtual void Message_Box(std::string_view text) = 0;
};
