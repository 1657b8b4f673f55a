#include "win32/system/dialogs.h"

#include "win32/system/strings.h"
#include "win32/system/win32_error.h"

namespace zelvo::win32 {
namespace {

UINT MessageBoxStyle(const Message& message) {
  UINT style = message.buttons == Buttons::YesNo ? MB_YESNO : MB_OK;
  switch (message.icon) {
    case Icon::Information:
      style |= MB_ICONINFORMATION;
      break;
    case Icon::Question:
      style |= MB_ICONQUESTION;
      break;
    case Icon::Warning:
      style |= MB_ICONWARNING;
      break;
    case Icon::Stop:
      style |= MB_ICONERROR;
      break;
  }
  style |= message.default_button == DefaultButton::Second ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
  return style;
}

}  // namespace

Answer Win32Dialogs::Show(const Message& message) {
  const int pressed = MessageBoxW(owner_, Wide(message.text).c_str(), Wide(message.title).c_str(),
                                  MessageBoxStyle(message));
  if (pressed == 0) ThrowLastError();
  if (message.buttons == Buttons::Ok) return Answer::Ok;
  // A Yes/No box has no close button, but a box can still end without a choice (the window
  // closed under it): that counts as No.
  return pressed == IDYES ? Answer::Yes : Answer::No;
}

}  // namespace zelvo::win32
