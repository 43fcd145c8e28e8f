// The folders the program uses: where it is installed (template, help),
// the per-user application-data folder (exports opened by other programs,
// the spreadsheet exchange) and the user's document folder.
#pragma once

#include <filesystem>

namespace hp::platform {

class Paths {
 public:
  virtual ~Paths() = default;
  virtual std::filesystem::path ProgramFolder() const = 0;
  virtual std::filesystem::path AppDataFolder() const = 0;
  virtual std::filesystem::path DocumentFolder() const = 0;
};

// Paths given up front (tests, the batch tool).
class FixedPaths final : public Paths {
 public:
  FixedPaths(std::filesystem::path program, std::filesystem::path appData, std::filesystem::path documents)
      : m_program(std::move(program)), m_appData(std::move(appData)), m_documents(std::move(documents)) {}
  std::filesystem::path ProgramFolder() const override { return m_program; }
  std::filesystem::path AppDataFolder() const override { return m_appData; }
  std::filesystem::path DocumentFolder() const override { return m_documents; }

 private:
  std::filesystem::path m_program, m_appData, m_documents;
};

}  // namespace hp::platform
