#pragma once

#include "settings/SettingsStore.h"

#include <wx/string.h>

#include <memory>

class wxConfigBase;

// Name of the environment variable that points the settings store at a file of its own (tests,
// portable use); the command-line switch --settings FILE does the same and wins over it.
inline constexpr const char* kSettingsFileVariable = "QUELLIX_SETTINGS_FILE";

// The settings store on the toolkit's per-user configuration: the registry key
// HKCU\Software\Quellix on Windows, a per-user file elsewhere, or the given file. Values are
// UTF-8 strings and integers; every write is flushed at once.
class CWxSettingsStore : public ISettingsStore {
public:
    explicit CWxSettingsStore(const wxString& file = wxString());
    ~CWxSettingsStore() override;

    std::string getString(const std::string& section, const std::string& key,
                          const std::string& defaultValue) override;
    int getInt(const std::string& section, const std::string& key, int defaultValue) override;
    void writeString(const std::string& section, const std::string& key, const std::string& value) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    void deleteKey(const std::string& section, const std::string& key) override;

    wxString fileName() const { return m_file; }

private:
    std::unique_ptr<wxConfigBase> m_config;
    wxString m_file;
};
