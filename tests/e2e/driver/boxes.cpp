#include "driver/boxes.h"

#include <algorithm>
#include <array>
#include <limits>
#include <sstream>

#include "driver/errors.h"
#include "driver/process.h"
#include "driver/remote.h"

namespace zelvo::e2e {

MessageBoxWindow::MessageBoxWindow(const ZelvoProcess& process, HWND hwnd)
    : process_(&process), hwnd_(hwnd) {}

bool MessageBoxWindow::IsOpen() const { return IsWindow(hwnd_) && IsWindowVisible(hwnd_); }

std::string MessageBoxWindow::Title() const { return WindowText(hwnd_); }

std::string MessageBoxWindow::Text() const {
  HWND text = GetDlgItem(hwnd_, kBoxTextId);
  return text ? WindowText(text) : std::string();
}

namespace {

constexpr std::array<int, 7> kBoxButtonIds = {IDOK,     IDCANCEL, IDABORT, IDRETRY,
                                              IDIGNORE, IDYES,    IDNO};

bool IsPushButton(HWND hwnd) {
  if (!hwnd || !IsWindowVisible(hwnd) || ClassName(hwnd) != "Button") return false;
  const auto type = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

std::vector<int> MessageBoxWindow::Buttons() const {
  std::vector<int> buttons;
  for (int id : kBoxButtonIds) {
    if (IsPushButton(GetDlgItem(hwnd_, id))) buttons.push_back(id);
  }
  std::sort(buttons.begin(), buttons.end());
  return buttons;
}

std::optional<int> MessageBoxWindow::DefaultButton() const {
  for (int id : Buttons()) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(GetDlgItem(hwnd_, id), GWL_STYLE));
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
  }
  return std::nullopt;
}

namespace {

struct Candidate {
  Icon icon;
  const wchar_t* resource;
};

std::array<Candidate, 4> Candidates() {
  return {{{Icon::Information, IDI_ASTERISK},
           {Icon::Question, IDI_QUESTION},
           {Icon::Warning, IDI_EXCLAMATION},
           {Icon::Stop, IDI_HAND}}};
}

}  // namespace

std::optional<Icon> MessageBoxWindow::ReadIcon(Milliseconds timeout) const {
  HWND icon = GetDlgItem(hwnd_, kBoxIconId);
  if (!icon || !IsWindowVisible(icon)) return std::nullopt;
  RECT rect{};
  Check(GetWindowRect(icon, &rect), "GetWindowRect(icon)");
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  // The box paints after it appears: compare until one of the four matches exactly. The
  // corner pixel is transparent in every system icon, so it shows the background.
  std::optional<Icon> found;
  std::string closest;
  WaitFor(
      [&] {
        const Image shown = CaptureScreen(rect);
        const COLORREF background = shown.At(0, 0);
        std::ostringstream differences;
        for (const Candidate& candidate : Candidates()) {
          HICON system = LoadIconW(nullptr, candidate.resource);
          const size_t count = shown.Differences(DrawIconImage(system, width, height, background));
          if (count == 0) {
            found = candidate.icon;
            return true;
          }
          differences << " " << IconName(candidate.icon) << ": " << count;
        }
        closest = differences.str();
        return false;
      },
      timeout);
  if (!found) {
    throw DriverError("the box's icon matches none of the system icons; differing pixels:" +
                      closest);
  }
  return found;
}

void MessageBoxWindow::Click(int button_id) const {
  HWND button = GetDlgItem(hwnd_, button_id);
  if (!button) throw DriverError("the box has no button " + std::to_string(button_id));
  Post(button, BM_CLICK);
  if (!WaitFor([&] { return !IsOpen(); })) {
    throw DriverError("the box stayed open after a click on button " + std::to_string(button_id));
  }
}

void MessageBoxWindow::Answer(zelvo::Answer answer) const {
  switch (answer) {
    case zelvo::Answer::Ok:
      return Click(IDOK);
    case zelvo::Answer::Yes:
      return Click(IDYES);
    case zelvo::Answer::No:
      return Click(IDNO);
  }
}

namespace {

std::string ButtonName(int id) {
  switch (id) {
    case IDOK:
      return "OK";
    case IDCANCEL:
      return "Cancel";
    case IDYES:
      return "Yes";
    case IDNO:
      return "No";
  }
  return "button " + std::to_string(id);
}

std::string ButtonList(const std::vector<int>& ids) {
  std::string names;
  for (int id : ids) {
    if (!names.empty()) names += "/";
    names += ButtonName(id);
  }
  return names.empty() ? "none" : names;
}

std::string DefaultName(std::optional<int> id) { return id ? ButtonName(*id) : "none"; }

// Shows line ends, which a failure message would otherwise hide.
std::string Visible(const std::string& text) {
  std::string shown = "\"";
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

}  // namespace

const char* IconName(std::optional<Icon> icon) {
  if (!icon) return "none";
  switch (*icon) {
    case Icon::Information:
      return "information";
    case Icon::Question:
      return "question";
    case Icon::Warning:
      return "warning";
    case Icon::Stop:
      return "stop";
  }
  return "?";
}

std::vector<int> ButtonIds(Buttons buttons) {
  return buttons == Buttons::Ok ? std::vector<int>{IDOK} : std::vector<int>{IDYES, IDNO};
}

int DefaultButtonId(const Message& message) {
  const std::vector<int> ids = ButtonIds(message.buttons);
  return message.default_button == DefaultButton::Second && ids.size() > 1 ? ids[1] : ids[0];
}

std::string MessageBoxWindow::Describe() const {
  std::string icon;
  try {
    icon = IconName(ReadIcon(Milliseconds(0)));
  } catch (const DriverError& error) {
    icon = error.what();
  }
  return "title " + Visible(Title()) + ", text " + Visible(Text()) + ", buttons " +
         ButtonList(Buttons()) + ", default " + DefaultName(DefaultButton()) + ", icon " + icon;
}

::testing::AssertionResult BoxShows(const MessageBoxWindow& box, const Message& expected) {
  std::string differences;
  const auto compare = [&](const char* what, const std::string& shown, const std::string& meant) {
    if (shown != meant)
      differences += std::string("\n  ") + what + ": shown " + shown + ", expected " + meant;
  };
  compare("text", Visible(box.Text()), Visible(expected.text));
  compare("title", Visible(box.Title()), Visible(expected.title));
  compare("buttons", ButtonList(box.Buttons()), ButtonList(ButtonIds(expected.buttons)));
  compare("default button", DefaultName(box.DefaultButton()),
          ButtonName(DefaultButtonId(expected)));
  std::string icon;
  try {
    icon = IconName(box.ReadIcon());
  } catch (const DriverError& error) {
    icon = error.what();
  }
  compare("icon", icon, IconName(expected.icon));
  if (differences.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the message box differs:" << differences;
}

void ExpectBoxAndAnswer(const ZelvoProcess& process, const Message& expected,
                        zelvo::Answer answer) {
  const MessageBoxWindow box = process.WaitForBox();
  EXPECT_TRUE(BoxShows(box, expected));
  box.Answer(answer);
}

}  // namespace zelvo::e2e
