#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// The per-user settings store: sections with string and integer values under keys. Reading a
// missing value yields the caller's default.
class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::string getString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) = 0;
    virtual int getInt(const std::string& section, const std::string& key, int defaultValue) = 0;
    virtual void writeString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void writeInt(const std::string& section, const std::string& key, int value) = 0;
    virtual void deleteKey(const std::string& section, const std::string& key) = 0;
};

// A settings store in memory, for tests and for runs that must not touch the user's settings.
class CMemorySettingsStore : public ISettingsStore {
public:
    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    int getInt(const std::string& section, const std::string& key, int defaultValue) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    void deleteKey(const std::string& section, const std::string& key) override;
    bool has(const std::string& section, const std::string& key) const;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};
