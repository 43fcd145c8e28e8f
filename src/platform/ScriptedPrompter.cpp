// Scripted answers for tests.
#include "platform/Prompter.h"

namespace hp::platform {

Answer ScriptedPrompter::Next() {
  if (m_script.empty()) return m_default;
  const Answer answer = m_script.front();
  m_script.pop_front();
  return answer;
}

void ScriptedPrompter::Message(std::string_view text, Icon icon) {
  m_entries.push_back({Kind::Message, icon, std::string(text)});
}

Answer ScriptedPrompter::AskOkCancel(std::string_view text, Icon icon) {
  m_entries.push_back({Kind::OkCancel, icon, std::string(text)});
  // Yes/No in a script stand for OK; only Cancel cancels.
  return Next() == Answer::Cancel ? Answer::Cancel : Answer::Ok;
}

Answer ScriptedPrompter::AskYesNoCancel(std::string_view text, Icon icon) {
  m_entries.push_back({Kind::YesNoCancel, icon, std::string(text)});
  const Answer answer = Next();
  return answer == Answer::Ok ? Answer::Yes : answer;
}

std::vector<std::string> ScriptedPrompter::Texts() const {
  std::vector<std::string> texts;
  for (const auto& e : m_entries) texts.push_back(e.text);
  return texts;
}

}  // namespace hp::platform
