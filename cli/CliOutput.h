#pragma once

#include "cli/OutputFormat.h"
#include "model/CodePage.h"
#include "model/Status.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

class CObjektManager;
class CResultList;

// How quellix-cli takes a result list into its output: the cells (with --locations also the item
// data and the location's position), in UTF-8 or (ansi) the loaded bytes.
struct CliListOptions {
    bool locations = false;
    bool ansi = false;
    OemCodePage page = OemCodePage::CP850;
    const LineIndex* lines = nullptr; // set: every row that points into the export gets its location
    bool identities = false;          // every row gets its baseline identity
};

// The list of an operation as the output formats write it: every cell through outputCell. A row
// points into the export through its result location (item data) or, without one, through a cell
// that holds an object's header ("Codeunit 50000 Sales Helper"), then at the object's start. Its
// identity is the object's type word and number, then its cells except the object's header and
// the positions ("Start", "End"), TAB-separated.
OutputList cliOutputList(const std::string& name, const std::string& description, const CResultList& list,
                         const CObjektManager& manager, const CliListOptions& options);

// The same, taking the rows out of the list as it goes, so a long list is not held twice; the list
// is left without rows, the manager without locations.
OutputList takeOutputList(const std::string& name, const std::string& description, CResultList& list,
                          CObjektManager& manager, const CliListOptions& options);

// The tsv text of the list, as formatOutput writes it, handed to write in pieces while the rows are
// taken out of the list (as takeOutputList); nothing of it is kept. Returns the rows written.
size_t writeTsvList(const std::string& name, CResultList& list, CObjektManager& manager, const CliListOptions& options,
                    bool analysisColumn, const std::function<void(std::string_view)>& write);

// The tsv text of one list: heading line, one line per row, every cell as outputCell writes it
// followed by a TAB; lines end with "\n"; UTF-8 unless options.ansi.
std::string cliListText(const CResultList& list, const CObjektManager& manager, const CliListOptions& options);

// A command's end: out flushed; when it cannot be written (a full disk, a closed pipe) one line
// "PROGRAM: cannot write the output" on err and 1, else status.
int finishOutput(std::ostream& out, std::ostream& err, std::string_view program, int status);

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
