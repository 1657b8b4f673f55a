// The message boxes of the program, with their texts and titles from the catalogue of the user's
// language: the questions it asks and the notices it gives.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/texts.h"

namespace zelvo {

class Boxes {
 public:
  Boxes(Dialogs& dialogs, const Texts& texts) : dialogs_(dialogs), texts_(texts) {}

  // A text of the catalogue with its values.
  std::string Text(TextId text, std::initializer_list<std::string_view> values = {}) const {
    return texts_.Format(text, values);
  }

  // Asks the Yes/No question `text` under the title `title`; true for Yes.
  bool Ask(const std::string& text, TextId title, DefaultButton default_button) {
    return dialogs_.Show(Question(text, Title(title), default_button)) == Answer::Yes;
  }

  // Shows `text` under the title `title` with only OK.
  void Tell(const std::string& text, TextId title, Icon icon) {
    dialogs_.Show(Notice(text, Title(title), icon));
  }

 private:
  std::string Title(TextId title) const { return std::string(texts_.Get(title)); }

  Dialogs& dialogs_;
  const Texts& texts_;
};

}  // namespace zelvo
