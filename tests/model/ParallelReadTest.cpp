#include "model/CodePage.h"
#include "model/ObjektManager.h"
#include "model/ReadExport.h"
#include "model/WorkerThreads.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

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
            std::string one, several;
            setWorkerThreads(1);
            ASSERT_TRUE(readExportFile(path, one).ok());
            setWorkerThreads(3);
            ASSERT_TRUE(readExportFile(path, several).ok());
            setWorkerThreads(0);
            const std::string label = testing::PrintToString(borders) + (otherLineFeeds ? " with" : " without");
            EXPECT_TRUE(one == several) << label;
            const size_t added = std::string(borders) == "\r\n" ? 0 : std::string(borders) == "\n\n" ? 6 : 3;
            if (!otherLineFeeds) {
                EXPECT_EQ(several.size(), input.size() + added) << label;
            }
        }
    }
    std::remove(path.c_str());
}

// The catalogue of a text of several 8 MB slices, with object starts on and across the slices'
// borders, is the one a load on one thread gives.
TEST(ParallelRead, ObjectsAcrossSliceBordersAreCutAsOnOneThread)
{
    constexpr int kSlice = 8 << 20;
    std::string text = "OBJECT Codeunit 1 First\r\n{\r\n}\r\n";
    int number = 2;
    // Markers "\r\nOBJECT " starting 0 to 9 bytes before a border, then one on the border itself.
    for (int border = 1; border <= 3; ++border) {
        const int lead = border * kSlice - (border == 3 ? 0 : 3 * border);
        text.append(static_cast<size_t>(lead - static_cast<int>(text.size())), 'x');
        text += "\r\nOBJECT Table " + std::to_string(number++) + " Across\r\n{\r\n}\r\n";
        text.append(1000, 'y');
        text += "\r\nOBJECT Form " + std::to_string(number++) + " After\r\n{\r\n}\r\n";
    }
    CSourceText source(text);
    auto spans = [&](int threads) {
        setWorkerThreads(threads);
        CObjektManager manager;
        manager.load(&source, "x");
        std::vector<std::string> out;
        for (int i = 0; i < manager.count(); ++i) {
            const CObjectRecord& r = manager.get(i);
            out.push_back(std::to_string(r.objectSpan.start()) + "-" + std::to_string(r.objectSpan.end()) + " " +
                          std::string(r.headerText()) + " " + std::to_string(r.type) + " " + std::to_string(r.number));
        }
        setWorkerThreads(0);
        return out;
    };
    const auto one = spans(1);
    EXPECT_EQ(one.size(), 7u);
    EXPECT_EQ(spans(3), one);
}
