// The catalogues by language, and the filling in of a text's values.
#include "platform/texts.h"

namespace zelvo {

extern const TextTable kJapaneseTexts;
extern const TextTable kEnglishTexts;

namespace {

constexpr std::string_view kIdNames[] = {"None", "Later",
#define ZELVO_TEXT_NAME(name) #name,
                                         ZELVO_TEXT_IDS(ZELVO_TEXT_NAME)
#undef ZELVO_TEXT_NAME
};
static_assert(std::size(kIdNames) == kTextCount);

// The catalogues; the first is the one for languages without their own.
const Texts kCatalogues[] = {
    {"en", kEnglishTexts},
    {"ja", kJapaneseTexts},
};

}  // namespace

std::string_view TextIdName(TextId id) { return kIdNames[static_cast<size_t>(id)]; }

const Texts& Texts::For(std::string_view language) {
  // "ja-JP" and "ja" are both Japanese: only the language counts, not the region.
  const std::string_view code = language.substr(0, language.find('-'));
  for (const Texts& texts : kCatalogues) {
    if (texts.Language() == code) return texts;
  }
  return kCatalogues[0];
}

std::string Texts::Format(TextId id, std::initializer_list<std::string_view> values) const {
  const std::string_view text = Get(id);
  std::string filled;
  filled.reserve(text.size());
  for (size_t at = 0; at < text.size(); ++at) {
    const size_t index = at + 2 < text.size() && text[at] == '{' && text[at + 2] == '}'
                             ? static_cast<size_t>(text[at + 1] - '0')
                             : values.size();
    if (index < values.size()) {
      filled += values.begin()[index];
      at += 2;
    } else {
      filled += text[at];
    }
  }
  return filled;
}

}  // namespace zelvo
