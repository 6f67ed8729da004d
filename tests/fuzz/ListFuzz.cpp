// Cells from the input (rows by LF, cells by TAB) in a result list: sort by every column both
// ways under each locale's date rule (so date, number and text columns all occur), find in list,
// the list text, the exported text and the command line's list text with every option.
#include "FuzzSupport.h"

#include "cli/CliOutput.h"
#include "model/ObjektManager.h"
#include "results/DateParse.h"
#include "results/ListExportText.h"
#include "results/ResultList.h"

#include <cstdlib>

namespace {

constexpr DateStyle kStyles[] = {DateStyle::IsoOnly, DateStyle::DayMonthDot, DateStyle::MonthDaySlash,
                                 DateStyle::DayMonthSlash};

void fillList(CResultList& list, std::string_view cells, std::uint8_t columns)
{
    for (int c = 0; c < columns; ++c)
        list.AddColumn("Col" + std::to_string(c), c % 3, 60);
    int item = -2;
    while (!cells.empty()) {
        const std::size_t lineEnd = cells.find('\n');
        std::string_view line = cells.substr(0, lineEnd);
        cells.remove_prefix(lineEnd == std::string_view::npos ? cells.size() : lineEnd + 1);
        std::vector<std::string> row;
        while (static_cast<int>(row.size()) < columns + 1) { // one cell more than columns, at times
            const std::size_t tab = line.find('\t');
            row.emplace_back(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        list.AddRow(row, item++, -1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    fuzz::CInput input(data, size);
    const std::uint8_t shape = input.byte();
    const std::string findText(input.part());
    CResultList list;
    fillList(list, input.rest(), static_cast<std::uint8_t>(1 + shape % 5));

    const int rows = list.GetRowCount();
    setDateStyleOverride(kStyles[(shape >> 3) % 4]);
    for (int c = -1; c <= list.GetColumnCount(); ++c) {
        list.SortByColumn(c, true);
        list.SortByColumn(c, false);
    }
    list.OnColumnClick(0);
    clearDateStyleOverride();
    if (list.GetRowCount() != rows)
        std::abort();

    if ((shape & 0x80) != 0)
        list.SelectRow(rows / 2);
    for (int i = 0; i < 3; ++i)
        list.FindInList(findText);
    list.FindRowContaining(findText, -1);
    list.FindRowContaining(findText, rows + 1);

    list.GetListText("\t", "\r\n");
    buildExportText(list, 0);
    CObjektManager manager;
    for (int option = 0; option < 8; ++option) {
        CliListOptions options;
        options.locations = (option & 1) != 0;
        options.ansi = (option & 2) != 0;
        options.page = (option & 4) != 0 ? OemCodePage::CP437 : OemCodePage::CP850;
        cliListText(list, manager, options);
    }
    return 0;
}
