#include "jobs/JobRunner.h"

#include "analysis/OperationTable.h"
#include "jobs/SearchOption.h"

#include "model/ObjektManager.h"
#include "results/ResultList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace {
std::string tempFile(const std::string& name, const std::string& bytes)
{
    // The process ID keeps runs that share the machine apart.
    std::string path = (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + "-" + name)).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

const std::string twoObjects = "OBJECT Table 18 Customer\r\n{\r\n  CODE\r\n  {\r\n  }\r\n}\r\n\r\n"
                               "OBJECT Codeunit 80 Sales-Post\r\n{\r\n  CODE\r\n  {\r\n  }\r\n}\r\n\r\n";

// Stands in for an analysis: records what the manager carried while it ran.
struct Observed {
    bool cancelFlagSet = false;
    int objects = 0;
} observed;

Outcome observingRun(CObjektManager& manager, CResultList& list, IProgress*, const AnalysisArgs& args)
{
    observed.cancelFlagSet = manager.cancelFlag() != nullptr;
    observed.objects = manager.count();
    list.ResetList();
    list.AddColumn("Term", 0, 100);
    list.AddRow({args.term}, -1, -1);
    return {};
}

const OperationDef observingOperation{.commandId = 1, .command = "observe", .lastAction = "Observe", .run = observingRun};
} // namespace

TEST(SearchOption, TheThreeTextsSetBothFlagsOtherTextsKeepThem)
{
    bool caseSensitive = true, regex = true;
    EXPECT_TRUE(applySearchOption("normal", caseSensitive, regex));
    EXPECT_FALSE(caseSensitive);
    EXPECT_FALSE(regex);
    EXPECT_TRUE(applySearchOption("Case sensitiv", caseSensitive, regex));
    EXPECT_TRUE(caseSensitive);
    EXPECT_FALSE(regex);
    EXPECT_FALSE(applySearchOption("", caseSensitive, regex));
    EXPECT_FALSE(applySearchOption("Normal", caseSensitive, regex));
    EXPECT_TRUE(caseSensitive);
    EXPECT_FALSE(regex);
    EXPECT_TRUE(applySearchOption("regular Expression", caseSensitive, regex));
    EXPECT_TRUE(caseSensitive);
    EXPECT_TRUE(regex);
}

TEST(LoadedExport, SameNameIsReadOnceAnotherNameReloads)
{
    std::string a = tempFile("quellix-load-a.txt", twoObjects);
    std::string b = tempFile("quellix-load-b.txt", "OBJECT Table 3 Payment Terms\r\n{\r\n}\r\n");
    CObjektManager manager;
    CLoadedExport loaded;
    Outcome status;
    EXPECT_EQ(loaded.ensureLoaded(a, manager, status), CLoadedExport::Result::Loaded);
    EXPECT_EQ(manager.count(), 2);
    tempFile("quellix-load-a.txt", "changed on disk");
    EXPECT_EQ(loaded.ensureLoaded(a, manager, status), CLoadedExport::Result::Kept);
    EXPECT_EQ(loaded.text().str(), twoObjects);
    EXPECT_EQ(loaded.ensureLoaded(b, manager, status), CLoadedExport::Result::Loaded);
    EXPECT_TRUE(status.ok());
    EXPECT_EQ(manager.count(), 1);
    EXPECT_EQ(manager.fileName(), b);
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(LoadedExport, ConvertsFromOemAndNormalisesLineEnds)
{
    std::string path = tempFile("quellix-load-oem.txt", "OBJECT Table 1 Stra\xE1" "e\n{\n}\n");
    CObjektManager manager;
    CLoadedExport loaded;
    Outcome status;
    ASSERT_EQ(loaded.ensureLoaded(path, manager, status), CLoadedExport::Result::Loaded);
    EXPECT_EQ(loaded.text().str(), "OBJECT Table 1 Stra\xDF" "e\r\n{\r\n}\r\n");
    std::remove(path.c_str());
}

TEST(LoadedExport, AMissingFileOrAFolderFailsWithItsKindAndKeepsTheLoadedText)
{
    std::string a = tempFile("quellix-load-keep.txt", twoObjects);
    CObjektManager manager;
    CLoadedExport loaded;
    Outcome status;
    loaded.ensureLoaded(a, manager, status);
    std::string missing = tempFile("quellix-missing.txt", "");
    std::remove(missing.c_str());
    EXPECT_EQ(loaded.ensureLoaded(missing, manager, status), CLoadedExport::Result::Failed);
    EXPECT_EQ(status.kind, OutcomeKind::NotFound);
    EXPECT_EQ(status.path, missing);
    EXPECT_EQ(status.reason, missing + ": No such file or directory");
    EXPECT_EQ(checkSourceReadable(missing).kind, OutcomeKind::NotFound);
    EXPECT_EQ(checkSourceReadable(missing).reason, status.reason);
    const std::string folder = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(loaded.ensureLoaded(folder, manager, status), CLoadedExport::Result::Failed);
    EXPECT_EQ(status.kind, OutcomeKind::Unreadable);
    EXPECT_EQ(status.reason, folder + ": Is a directory");
    EXPECT_EQ(checkSourceReadable(folder).kind, OutcomeKind::Unreadable);
    EXPECT_EQ(checkSourceReadable(folder).reason, status.reason);
    EXPECT_TRUE(checkSourceReadable(a).ok());
    EXPECT_EQ(loaded.fileName(), a);
    EXPECT_EQ(manager.count(), 2);
    std::remove(a.c_str());
}

TEST(JobRunner, RunsTheOperationWithTheCancelFlagAndClearsItAfterwards)
{
    std::string path = tempFile("quellix-job.txt", twoObjects);
    JobRequest request;
    request.operation = &observingOperation;
    request.args.term = "Customer";
    request.sourceFile = path;
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    std::atomic<bool> cancel{false};
    ASSERT_TRUE(runJob(request, loaded, manager, list, nullptr, nullptr, &cancel).ok());
    EXPECT_TRUE(observed.cancelFlagSet);
    EXPECT_EQ(observed.objects, 2);
    EXPECT_EQ(manager.cancelFlag(), nullptr);
    EXPECT_EQ(list.GetCellText(0, 0), "Customer");

    request.sourceFile = tempFile("quellix-missing-job.txt", "");
    std::remove(request.sourceFile.c_str());
    Outcome status = runJob(request, loaded, manager, list, nullptr, nullptr, &cancel);
    EXPECT_EQ(status.kind, OutcomeKind::NotFound);
    EXPECT_EQ(status.path, request.sourceFile);
    EXPECT_EQ(list.GetRowCount(), 0) << "the rows of the export read before stay";
    std::remove(path.c_str());
}

TEST(JobRunner, ACancelledJobDoesNotStartTheOperation)
{
    std::string path = tempFile("quellix-job-cancel.txt", twoObjects);
    observed = {};
    JobRequest request{&observingOperation, {}, path};
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(runJob(request, loaded, manager, list, nullptr, nullptr, &cancel).ok());
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(observed.objects, 0);
    std::remove(path.c_str());
}

TEST(JobRunner, StoppedWhileTheExportIsReadTheJobRunsNothingKeepsTheEarlierExportAndEmptiesTheList)
{
    // The flag goes up while the second export is read: the first one stays loaded, no failure.
    struct StopOnRead : IProgress {
        std::atomic<bool>* flag = nullptr;
        void setRange(int, int) override {}
        void setPos(int) override { flag->store(true); }
    };
    std::string first = tempFile("quellix-job-first.txt", twoObjects);
    std::string second = tempFile("quellix-job-second.txt", twoObjects + twoObjects);
    observed = {};
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    JobRequest request{&observingOperation, {}, first};
    ASSERT_TRUE(runJob(request, loaded, manager, list, nullptr, nullptr, nullptr).ok());
    ASSERT_EQ(observed.objects, 2);
    ASSERT_GT(list.GetRowCount(), 0);
    observed = {};
    std::atomic<bool> cancel{false};
    StopOnRead progress;
    progress.flag = &cancel;
    request.sourceFile = second;
    EXPECT_TRUE(runJob(request, loaded, manager, list, &progress, nullptr, &cancel).ok());
    EXPECT_EQ(observed.objects, 0);
    EXPECT_EQ(loaded.fileName(), first);
    EXPECT_EQ(manager.count(), 2);
    EXPECT_EQ(list.GetRowCount(), 0) << "the first export's rows stand under the second's name";
    // The next job reads the second export.
    EXPECT_TRUE(runJob(request, loaded, manager, list, nullptr, nullptr, nullptr).ok());
    EXPECT_EQ(observed.objects, 4);
    std::remove(first.c_str());
    std::remove(second.c_str());
}

TEST(JobRunner, AFileOperationThatCannotWriteIsReportedAsFailed)
{
    const std::string path = tempFile("quellix-job-export.txt", "OBJECT Form 1 A\r\n{\r\n  PROPERTIES\r\n  {\r\n"
                                                                "    OnOpenForm=BEGIN\r\n                 x;\r\n"
                                                                "               END;\r\n\r\n  }\r\n}\r\n");
    JobRequest request{&exportCodeOperation(), {}, path};
    request.args.path = "/proc/quellix-cannot-write/code.txt";
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    Outcome status = runJob(request, loaded, manager, list, nullptr, nullptr, nullptr);
    EXPECT_EQ(status.kind, OutcomeKind::CannotWrite);
    EXPECT_EQ(status.path, request.args.path);
    EXPECT_EQ(status.reason, request.args.path + ": No such file or directory"); // the system's word, for the user

    request.operation = &splitOperation();
    request.args = {};
    request.args.path = "/proc/quellix-cannot-write";
    request.args.from = 1;
    request.args.to = 1;
    std::vector<std::string> written;
    request.args.written = &written;
    status = runJob(request, loaded, manager, list, nullptr, nullptr, nullptr);
    EXPECT_EQ(status.kind, OutcomeKind::CannotWrite);
    EXPECT_EQ(status.path, "/proc/quellix-cannot-write/Form 1.txt"); // the file that failed
    EXPECT_TRUE(written.empty());
    std::remove(path.c_str());
}
