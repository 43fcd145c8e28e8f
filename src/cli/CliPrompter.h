// Message boxes of the batch tool: every text goes to stderr as a block (the
// text, a newline, an empty line); questions are answered by a fixed policy.
#pragma once

#include <ostream>

#include "platform/Prompter.h"

namespace hp::cli {

class CliPrompter final : public platform::Prompter {
 public:
  // `policy` is Yes, No or Cancel.
  CliPrompter(std::ostream& err, platform::Answer policy) : m_err(err), m_policy(policy) {}

  void Message(std::string_view text, platform::Icon icon) override;
  platform::Answer AskOkCancel(std::string_view text, platform::Icon icon) override;
  platform::Answer AskYesNoCancel(std::string_view text, platform::Icon icon) override;

 private:
  std::ostream& m_err;
  platform::Answer m_policy;
};

}  // namespace hp::cli
