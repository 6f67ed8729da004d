// quellix-man-page IN OUT: writes the man page IN with the operation table's commands filled in.
#include "cli/CommandHelp.h"

#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quellix-man-page IN OUT\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream page;
    page << in.rdbuf();
    std::ofstream out(argv[2], std::ios::binary);
    out << manPageWithOperations(page.str(), operationTable());
    if (!in || !out.flush()) {
        std::cerr << "quellix-man-page: cannot turn " << argv[1] << " into " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
