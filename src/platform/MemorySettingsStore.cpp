// In-memory settings: values are kept as text, as the INI file keeps them.
#include "platform/SettingsStore.h"

#include "base/NumberFormat.h"

namespace hp::platform {

int MemorySettingsStore::GetInt(std::string_view section, std::string_view name, int defaultValue) const {
  const auto it = m_values.find(Key(section, name));
  if (it == m_values.end()) return defaultValue;
  const auto value = base::ParseInteger(it->second);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return defaultValue;
  return static_cast<int>(*value);
}

std::string MemorySettingsStore::GetString(std::string_view section, std::string_view name,
                                           std::string_view defaultValue) const {
  const auto it = m_values.find(Key(section, name));
  return it == m_values.end() ? std::string(defaultValue) : it->second;
}

void MemorySettingsStore::SetInt(std::string_view section, std::string_view name, int value) {
  m_values[Key(section, name)] = std::to_string(value);
}

void MemorySettingsStore::SetString(std::string_view section, std::string_view name, std::string_view value) {
  m_values[Key(section, name)] = std::string(value);
}

bool MemorySettingsStore::Contains(std::string_view section, std::string_view name) const {
  return m_values.count(Key(section, name)) != 0;
}

}  // namespace hp::platform
