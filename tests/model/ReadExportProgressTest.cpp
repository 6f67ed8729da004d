// Reading an export with a report: how far it got, and stopping it.
#include "model/ReadExport.h"

#include "model/Status.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
struct RecordedProgress : IProgress {
    std::vector<int> positions;
    int low = -1, high = -1;
    void setRange(int l, int h) override { low = l, high = h; }
    void setPos(int pos) override { positions.push_back(pos); }
};

struct RecordedStatus : IStatusText {
    std::vector<std::string> lines;
    void setStatusText(const std::string& text) override { lines.push_back(text); }
};

// Sets the flag once the reading has reported itself n times.
struct CancellingProgress : IProgress {
    std::atomic<bool>* flag = nullptr;
    int after = 0;
    int seen = 0;
    void setRange(int, int) override {}
    void setPos(int) override
    {
        if (++seen == after)
            flag->store(true);
    }
};

std::string exportOfBytes(const std::string& name, size_t bytes)
{
    std::string path = (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name)).string();
    std::string line = "OBJECT Codeunit 1 Step\n  { 1 ;   ;Name \x81ber   ;Text30 }\n";
    std::string text;
    while (text.size() < bytes)
        text += line;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
} // namespace

TEST(ReadExportProgress, ALargeExportReportsRisingPositionsAndItsNameThenConverts)
{
    const std::string path = exportOfBytes("progress-export.txt", 18u << 20);
    RecordedProgress progress;
    RecordedStatus status;
    ReadReport report{&progress, &status, nullptr};
    std::string withReport, without;
    ASSERT_TRUE(readExportFile(path, withReport, &report).ok());
    ASSERT_TRUE(readExportFile(path, without).ok());
    EXPECT_EQ(withReport, without); // reading in steps changes nothing in the text
    EXPECT_EQ(withReport.substr(0, 24), "OBJECT Codeunit 1 Step\r\n");

    EXPECT_EQ(progress.low, 0);
    EXPECT_EQ(progress.high, 100);
    ASSERT_GE(progress.positions.size(), 5u); // 18 MB in steps of 4 MB, and the start and end
    EXPECT_TRUE(std::is_sorted(progress.positions.begin(), progress.positions.end()));
    EXPECT_EQ(progress.positions.back(), 100);
    ASSERT_FALSE(status.lines.empty());
    const std::string name = std::to_string(getpid()) + "-progress-export.txt";
    EXPECT_EQ(status.lines.front(), "Reading " + name + ": 0 %");
    EXPECT_NE(std::find(status.lines.begin(), status.lines.end(),
                        "Reading " + name + ": 100 %"),
              status.lines.end());
    EXPECT_EQ(status.lines.back(), "Converting " + name);
    std::filesystem::remove(path);
}

TEST(ReadExportProgress, CancelStopsTheReadingWithoutErrorAndLeavesTheTextAlone)
{
    const std::string path = exportOfBytes("cancel-export.txt", 18u << 20);
    std::atomic<bool> cancel{false};
    CancellingProgress progress;
    progress.flag = &cancel;
    progress.after = 2; // after the start and the first step
    ReadReport report{&progress, nullptr, &cancel};
    std::string text = "earlier text";
    EXPECT_EQ(readExportFile(path, text, &report).kind, OutcomeKind::Cancelled);
    EXPECT_EQ(text, "earlier text");
    EXPECT_LT(progress.seen, 4) << "the reading went on after the flag was set";

    // A missing file is still a failure with its reason, cancel flag or not.
    std::atomic<bool> idle{false};
    ReadReport quiet{nullptr, nullptr, &idle};
    const Outcome missing = readExportFile(path + ".missing", text, &quiet);
    EXPECT_EQ(missing.kind, OutcomeKind::NotFound);
    EXPECT_EQ(missing.reason, path + ".missing: No such file or directory");
    std::filesystem::remove(path);
}
