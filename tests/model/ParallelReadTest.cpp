#include "model/CodePage.h"
#include "model/ReadExport.h"
#include "model/WorkerThreads.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

// A file of several 8 MB slices read on several threads gives the text of a read on one thread:
// the same conversion and the same CRs before bare LFs, also where an LF opens a slice.
TEST(ParallelRead, SlicesGiveTheTextOfOneThreadWithBareLineFeedsAtTheirBorders)
{
    constexpr size_t kSlice = size_t{8} << 20;
    std::mt19937 random(17);
    std::string content(3 * kSlice + 12345, 'a');
    for (char& c : content) {
        const unsigned r = random() % 100;
        c = r < 3 ? '\n' : r < 6 ? '\r' : r < 9 ? static_cast<char>(0x80 + random() % 128) : static_cast<char>('a' + r % 26);
    }
    const std::string path = "/tmp/quellix-parallel-read-" + std::to_string(getpid()) + ".txt";
    for (bool otherLineFeeds : {true, false}) {
        for (const char* borders : {"\n\n", "\r\n", "x\n"}) {
            std::string input = content;
            if (!otherLineFeeds) // then only an LF at a border can be bare
                for (char& c : input)
                    if (c == '\n')
                        c = '.';
            for (size_t k = 1; k <= 3; ++k) { // the byte before each slice and the slice's first byte
                input[k * kSlice - 1] = borders[0];
                input[k * kSlice] = borders[1];
            }
            std::ofstream(path, std::ios::binary | std::ios::trunc) << input;
            std::string one, several, error;
            setWorkerThreads(1);
            ASSERT_TRUE(readExportFile(path, one, error)) << error;
            setWorkerThreads(3);
            ASSERT_TRUE(readExportFile(path, several, error)) << error;
            setWorkerThreads(0);
            const std::string label = testing::PrintToString(borders) + (otherLineFeeds ? " with" : " without");
            EXPECT_TRUE(one == several) << label;
            const size_t added = std::string(borders) == "\r\n" ? 0 : std::string(borders) == "\n\n" ? 6 : 3;
            if (!otherLineFeeds)
                EXPECT_EQ(several.size(), input.size() + added) << label;
        }
    }
    std::remove(path.c_str());
}
