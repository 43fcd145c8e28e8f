// Messages and questions on stderr.
#include "cli/CliPrompter.h"

namespace hp::cli {

void CliPrompter::Message(std::string_view text, platform::Icon) {
  m_err << text << "\n\n";
  m_err.flush();
}

platform::Answer CliPrompter::AskOkCancel(std::string_view text, platform::Icon icon) {
  Message(text, icon);
  return m_policy == platform::Answer::Cancel ? platform::Answer::Cancel : platform::Answer::Ok;
}

platform::Answer CliPrompter::AskYesNoCancel(std::string_view text, platform::Icon icon) {
  Message(text, icon);
  return m_policy;
}

}  // namespace hp::cli
