// The program's message boxes seen from the test: what they say, which buttons and icon they
// have, and answering them. On Wine a box is a top-level "#32770" window of the program's
// process: its text is the static 0xFFFF, its icon the static 1088, its buttons carry the ids
// IDOK, IDCANCEL, IDYES, IDNO.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/image.h"
#include "driver/wait.h"
#include "platform/dialogs.h"

namespace zelvo::e2e {

class ZelvoProcess;

inline constexpr int kBoxTextId = 0xFFFF;
inline constexpr int kBoxIconId = 1088;

// Valid while its ZelvoProcess lives. Texts are UTF-8, lines joined by CR LF.
class MessageBoxWindow {
 public:
  MessageBoxWindow(const ZelvoProcess& process, HWND hwnd);

  HWND Handle() const { return hwnd_; }
  bool IsOpen() const;
  std::string Title() const;
  std::string Text() const;
  // The ids of the box's buttons, in ascending order.
  std::vector<int> Buttons() const;
  // The button drawn as the default (BS_DEFPUSHBUTTON); DM_GETDEFID answers IDOK on Wine
  // whatever the box says.
  std::optional<int> DefaultButton() const;
  // The icon, told apart by its pixels from the system's four (waits until it has been drawn);
  // nullopt for a box without an icon. Throws when the pixels match none of the four.
  std::optional<Icon> ReadIcon(Milliseconds timeout = kTimeout) const;

  // Clicks the button (posted: the program goes on at once) and waits until the box is gone.
  void Click(int button_id) const;
  void Answer(zelvo::Answer answer) const;

  // Everything above in one text, for failure messages.
  std::string Describe() const;

 private:
  const ZelvoProcess* process_;
  HWND hwnd_;
};

// The button ids a message shows and the id of its default button.
std::vector<int> ButtonIds(Buttons buttons);
int DefaultButtonId(const Message& message);
const char* IconName(std::optional<Icon> icon);

// Whether the box shows the message: text, title, buttons, default button and icon. On a
// mismatch the result lists every difference.
::testing::AssertionResult BoxShows(const MessageBoxWindow& box, const Message& expected);

// The common step of a test: waits for the next box, checks it against the message (a failed
// check is recorded, the test goes on) and answers it.
void ExpectBoxAndAnswer(const ZelvoProcess& process, const Message& expected, zelvo::Answer answer);

}  // namespace zelvo::e2e
