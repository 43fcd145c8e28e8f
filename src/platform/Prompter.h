// Message boxes as the core sees them: a message with an icon, and the two
// kinds of questions. Texts are UTF-8; the windows show them in a message box,
// the batch tool writes them to stderr, tests script the answers.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace hp::platform {

enum class Icon { Information, Exclamation, Stop, Question };
enum class Answer { Ok, Cancel, Yes, No };

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void Message(std::string_view text, Icon icon) = 0;
  // Returns Answer::Ok or Answer::Cancel.
  virtual Answer AskOkCancel(std::string_view text, Icon icon) = 0;
  // Returns Answer::Yes, Answer::No or Answer::Cancel.
  virtual Answer AskYesNoCancel(std::string_view text, Icon icon) = 0;
};

// A prompter for tests: answers from a script (then a default) and records
// every text it was shown.
class ScriptedPrompter final : public Prompter {
 public:
  enum class Kind { Message, OkCancel, YesNoCancel };
  struct Entry {
    Kind kind;
    Icon icon;
    std::string text;
  };

  explicit ScriptedPrompter(Answer defaultAnswer = Answer::Ok) : m_default(defaultAnswer) {}

  // Queues answers for the next questions, in order.
  void Script(std::initializer_list<Answer> answers) { m_script.insert(m_script.end(), answers); }

  void Message(std::string_view text, Icon icon) override;
  Answer AskOkCancel(std::string_view text, Icon icon) override;
  Answer AskYesNoCancel(std::string_view text, Icon icon) override;

  const std::vector<Entry>& Entries() const { return m_entries; }
  std::vector<std::string> Texts() const;
  void Clear() { m_entries.clear(); }

 private:
  Answer Next();

  Answer m_default;
  std::deque<Answer> m_script;
  std::vector<Entry> m_entries;
};

}  // namespace hp::platform
