// Modal message boxes: the one way the program asks the user something or tells a failure.
#pragma once

#include <string>

namespace zelvo {

enum class Buttons { Ok, YesNo };
enum class Icon { Information, Question, Warning, Stop };
enum class DefaultButton { First, Second };
enum class Answer { Ok, Yes, No };

struct Message {
  std::string text;  // lines joined by CR LF
  std::string title;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::Information;
  DefaultButton default_button = DefaultButton::First;

  bool operator==(const Message&) const = default;
};

// A box with only OK.
inline Message Notice(std::string text, std::string title, Icon icon) {
  return {std::move(text), std::move(title), Buttons::Ok, icon, DefaultButton::First};
}

// A Yes/No question with the question icon.
inline Message Question(std::string text, std::string title, DefaultButton default_button) {
  return {std::move(text), std::move(title), Buttons::YesNo, Icon::Question, default_button};
}

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows the box modally over the main window (or alone before it exists) and returns the
  // button the user chose. Closing a Yes/No box without choosing counts as No.
  virtual Answer Show(const Message& message) = 0;
};

}  // namespace zelvo
