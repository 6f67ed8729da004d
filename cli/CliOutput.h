#pragma once

#include "model/CodePage.h"
#include "model/Status.h"

#include <string>

class CObjektManager;
class CResultList;

// How quellix-cli writes a list: the list text, optionally with item data and location positions.
struct CliListOptions {
    bool locations = false;
    bool ansi = false;
    OemCodePage page = OemCodePage::CP850;
};

// The list text of the contract: heading line, one line per row, every cell cut to 250 bytes,
// CR LF pairs removed, followed by TAB; lines end with "\n"; UTF-8 unless options.ansi.
std::string cliListText(const CResultList& list, const CObjektManager& manager, const CliListOptions& options);

// Progress and status lines on stderr, drawn over one terminal line and throttled.
class TerminalProgress : public IProgress, public IStatusText {
public:
    void setRange(int low, int high) override;
    void setPos(int pos) override;
    void setStatusText(const std::string& text) override;
    void finish();

private:
    void draw(bool force);
    int m_low = 0;
    int m_high = 0;
    int m_pos = 0;
    std::string m_status;
    long long m_lastDraw = 0;
    bool m_drawn = false;
};
