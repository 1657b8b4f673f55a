#include "application/zelvo.h"

namespace zelvo {

Zelvo::Zelvo(const Platform& platform, ErrorTrap& trap)
    : version_text_(VersionText(platform.environment.Version())),
      tool_folder_(ToolFolder(platform.environment.ProgramFolder())),
      boxes_(platform.dialogs, platform.texts),
      log_(platform.collator),
      log_view_(log_, platform.view, trap),
      log_file_(platform, log_, log_view_, trap, tool_folder_, version_text_),
      elevation_(boxes_, platform.environment, platform.files, log_file_),
      backup_(boxes_, platform.files, platform.environment, trap, tool_folder_),
      applier_(platform, log_, backup_, elevation_, trap),
      batch_(platform.texts, applier_, log_view_, elevation_, trap),
      actions_(platform, log_, log_view_, backup_, elevation_, trap),
      lifecycle_(platform, log_file_, batch_, trap, version_text_),
      events_(platform.view, boxes_, trap, lifecycle_, batch_, log_view_, actions_) {}

}  // namespace zelvo
