// What the user's desktop offers besides starting programs: showing files in a folder window,
// and the clipboard.
#pragma once

#include <string>
#include <vector>

namespace zelvo {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a window of the file manager on `folder` (a full folder ending in a backslash) with
  // the files `names` in it selected, without waiting for it.
  virtual void ShowInFolder(const std::string& folder, const std::vector<std::string>& names) = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Puts `text` (lines joined by CR LF) on the clipboard in place of what was there.
  virtual void SetText(const std::string& text) = 0;
};

}  // namespace zelvo
