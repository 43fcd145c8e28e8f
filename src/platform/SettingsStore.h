// Per-user program settings: integer and string values by section and name.
// The windows keep them in an INI file; tests and the batch tool keep them in
// memory.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace hp::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored value, or `defaultValue` when the value is missing.
  virtual int GetInt(std::string_view section, std::string_view name, int defaultValue) const = 0;
  virtual std::string GetString(std::string_view section, std::string_view name,
                                std::string_view defaultValue) const = 0;
  virtual void SetInt(std::string_view section, std::string_view name, int value) = 0;
  virtual void SetString(std::string_view section, std::string_view name, std::string_view value) = 0;
};

// Settings held in memory: start empty (every value at its default).
class MemorySettingsStore final : public SettingsStore {
 public:
  int GetInt(std::string_view section, std::string_view name, int defaultValue) const override;
  std::string GetString(std::string_view section, std::string_view name, std::string_view defaultValue) const override;
  void SetInt(std::string_view section, std::string_view name, int value) override;
  void SetString(std::string_view section, std::string_view name, std::string_view value) override;
  bool Contains(std::string_view section, std::string_view name) const;

 private:
  using Key = std::pair<std::string, std::string>;
  std::map<Key, std::string, std::less<>> m_values;
};

}  // namespace hp::platform
