#include "app/WxSettingsStore.h"

#include "settings/SettingsKeys.h"

#include <wx/config.h>
#include <wx/fileconf.h>

namespace {
wxString entryPath(const std::string& section, const std::string& key)
{
    return "/" + wxString::FromUTF8(section) + "/" + wxString::FromUTF8(key);
}
} // namespace

CWxSettingsStore::CWxSettingsStore(const wxString& file) : m_file(file)
{
    const wxString app = settingskeys::kAppName;
    if (file.empty())
#ifdef __WXMSW__
        // The registry key HKCU\Software\Quellix, sections as its subkeys.
        m_config = std::make_unique<wxConfig>(app, app, "Software\\" + app);
#else
        m_config = std::make_unique<wxConfig>(app, app);
#endif
    else
        m_config = std::make_unique<wxFileConfig>(app, app, file, wxString(), wxCONFIG_USE_LOCAL_FILE);
    // Values are the user's text: "$HOME" is a search term, not the home folder.
    m_config->SetExpandEnvVars(false);
}

CWxSettingsStore::~CWxSettingsStore()
{
    m_config->Flush();
}

std::string CWxSettingsStore::getString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue)
{
    wxString value;
    if (!m_config->Read(entryPath(section, key), &value))
        return defaultValue;
    return value.utf8_string();
}

int CWxSettingsStore::getInt(const std::string& section, const std::string& key, int defaultValue)
{
    long value = defaultValue;
    m_config->Read(entryPath(section, key), &value, static_cast<long>(defaultValue));
    return static_cast<int>(value);
}

void CWxSettingsStore::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    m_config->Write(entryPath(section, key), wxString::FromUTF8(value));
    m_config->Flush();
}

void CWxSettingsStore::writeInt(const std::string& section, const std::string& key, int value)
{
    m_config->Write(entryPath(section, key), static_cast<long>(value));
    m_config->Flush();
}

void CWxSettingsStore::deleteKey(const std::string& section, const std::string& key)
{
    if (m_config->HasEntry(entryPath(section, key)))
        m_config->DeleteEntry(entryPath(section, key), false);
}
