#include "settings/SettingsStore.h"

#include <cstdlib>

std::string CMemorySettingsStore::getString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue)
{
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : it->second;
}

int CMemorySettingsStore::getInt(const std::string& section, const std::string& key, int defaultValue)
{
    auto it = m_values.find({section, key});
    return it == m_values.end() ? defaultValue : std::atoi(it->second.c_str());
}

void CMemorySettingsStore::writeString(const std::string& section, const std::string& key,
                                       const std::string& value)
{
    m_values[{section, key}] = value;
}

void CMemorySettingsStore::writeInt(const std::string& section, const std::string& key, int value)
{
    m_values[{section, key}] = std::to_string(value);
}

void CMemorySettingsStore::deleteKey(const std::string& section, const std::string& key)
{
    m_values.erase({section, key});
}

bool CMemorySettingsStore::has(const std::string& section, const std::string& key) const
{
    return m_values.count({section, key}) != 0;
}
