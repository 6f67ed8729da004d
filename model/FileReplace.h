#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A file written under a temporary name beside its target and renamed over the target only once
// every byte is on disk, so a full disk, a failed write or a killed process leaves either the old
// file or the new one, never part of one. The temporary file is removed when anything fails or the
// object goes away uncommitted.
// Only a regular file is ever replaced: a symbolic link is followed (the file it points to is
// replaced, the link stays), a character device, FIFO or /dev/stdout is written in place (its bytes
// cannot be taken back), and a directory or any other kind of file is refused (ok() false).
class CReplacingFile {
public:
    // Creates the temporary file in target's folder; ok() tells whether that worked. With sync,
    // commit() waits until the bytes are on the disk (a crash of the machine keeps them too);
    // without, a killed process and every write error are still covered, at no cost per file.
    explicit CReplacingFile(std::string target, bool sync = true);
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;
    ~CReplacingFile();

    bool ok() const { return m_fd >= 0; }
    // Appends bytes; false (and ok() false from then on) when they cannot be written.
    bool write(std::string_view bytes);
    // Starts the new file with the target's present bytes (nothing when it does not exist), for
    // writers that append to the target.
    bool copyTarget();
    // Flushes the new file to disk and renames it over the target. False when anything failed;
    // the target is then untouched.
    bool commit();
    // Drops the new file; the target is untouched.
    void discard();
    // "TARGET: the system's reason" of the first failure, for the user.
    std::string failure() const;

private:
    std::string m_target;
    std::string m_temporary;
    bool m_sync = true;
    bool m_inPlace = false;
    int m_fd = -1;
    int m_error = 0;      // errno of the first failure
    std::string m_reason; // the system's words for it where no errno value has them (a file in use)

    void noteError(int error)
    {
        if (m_error == 0)
            m_error = error;
    }
};

// Replaces path's content with bytes through a CReplacingFile; on failure, reason (when given)
// receives its failure().
bool replaceFile(const std::string& path, std::string_view bytes, bool sync = true, std::string* reason = nullptr);
