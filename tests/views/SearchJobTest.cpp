#include "views/SearchJob.h"

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

void observingRun(CObjektManager& manager, CResultList& list, IProgress*, const AnalysisArgs& args)
{
    observed.cancelFlagSet = manager.cancelFlag() != nullptr;
    observed.objects = manager.count();
    list.ResetList();
    list.AddColumn("Term", 0, 100);
    list.AddRow({args.term}, -1, -1);
}
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

TEST(SearchCommands, EveryCommandIdOnceWithItsInput)
{
    std::set<int> ids;
    for (const SearchCommand& c : searchViewCommands())
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_EQ(ids.size(), 14u);
    EXPECT_EQ(findSearchCommand(1036)->input, CommandInput::SaveFile);
    EXPECT_EQ(findSearchCommand(32788)->input, CommandInput::SplitDialog);
    EXPECT_EQ(findSearchCommand(1039)->input, CommandInput::NumberRangeDialog);
    EXPECT_EQ(findSearchCommand(1030)->input, CommandInput::None);
    EXPECT_EQ(findSearchCommand(1012), nullptr);
}

TEST(SearchCommands, EveryCommandFindsItsOperationWithTheSameId)
{
    for (const SearchCommand& c : searchViewCommands()) {
        const AnalysisDef* def = analysisFor(c);
        ASSERT_NE(def, nullptr) << c.operation;
        EXPECT_EQ(def->commandId, c.id) << c.operation;
        EXPECT_STREQ(def->command, c.operation);
    }
    ASSERT_NE(textSearchAnalysis(), nullptr);
    EXPECT_EQ(findAnalysisById(32786)->fixedPattern, std::string("=Field[0-9]"));
}

TEST(LoadedExport, SameNameIsReadOnceAnotherNameReloads)
{
    std::string a = tempFile("quellix-load-a.txt", twoObjects);
    std::string b = tempFile("quellix-load-b.txt", "OBJECT Table 3 Payment Terms\r\n{\r\n}\r\n");
    CObjektManager manager;
    CLoadedExport loaded;
    std::string message;
    EXPECT_EQ(loaded.ensureLoaded(a, manager, message), CLoadedExport::Result::Loaded);
    EXPECT_EQ(manager.count(), 2);
    tempFile("quellix-load-a.txt", "changed on disk");
    EXPECT_EQ(loaded.ensureLoaded(a, manager, message), CLoadedExport::Result::Kept);
    EXPECT_EQ(loaded.text().str(), twoObjects);
    EXPECT_EQ(loaded.ensureLoaded(b, manager, message), CLoadedExport::Result::Loaded);
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
    std::string message;
    ASSERT_EQ(loaded.ensureLoaded(path, manager, message), CLoadedExport::Result::Loaded);
    EXPECT_EQ(loaded.text().str(), "OBJECT Table 1 Stra\xDF" "e\r\n{\r\n}\r\n");
    std::remove(path.c_str());
}

TEST(LoadedExport, MissingFileGivesTheGermanMessageAndKeepsTheLoadedText)
{
    std::string a = tempFile("quellix-load-keep.txt", twoObjects);
    CObjektManager manager;
    CLoadedExport loaded;
    std::string message;
    loaded.ensureLoaded(a, manager, message);
    std::string missing = tempFile("quellix-missing.txt", "");
    std::remove(missing.c_str());
    EXPECT_EQ(loaded.ensureLoaded(missing, manager, message), CLoadedExport::Result::Failed);
    EXPECT_EQ(message, missing + " wurde nicht gefunden.");
    EXPECT_EQ(loaded.fileName(), a);
    EXPECT_EQ(manager.count(), 2);
    std::remove(a.c_str());
}

TEST(SearchJob, RunsTheOperationWithTheCancelFlagAndClearsItAfterwards)
{
    std::string path = tempFile("quellix-job.txt", twoObjects);
    AnalysisDef def{"observe", 1, "Observe", AnalysisThread::Worker, {}, nullptr, nullptr, observingRun};
    SearchJobRequest request;
    request.analysis = &def;
    request.args.term = "Customer";
    request.sourceFile = path;
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    std::atomic<bool> cancel{false};
    std::string message;
    ASSERT_TRUE(runSearchJob(request, loaded, manager, list, nullptr, nullptr, cancel, message));
    EXPECT_TRUE(observed.cancelFlagSet);
    EXPECT_EQ(observed.objects, 2);
    EXPECT_EQ(manager.cancelFlag(), nullptr);
    EXPECT_EQ(list.GetCellText(0, 0), "Customer");

    request.sourceFile = tempFile("quellix-missing-job.txt", "");
    std::remove(request.sourceFile.c_str());
    EXPECT_FALSE(runSearchJob(request, loaded, manager, list, nullptr, nullptr, cancel, message));
    EXPECT_EQ(message, request.sourceFile + " wurde nicht gefunden.");
    std::remove(path.c_str());
}

TEST(SearchJob, ACancelledJobDoesNotStartTheOperation)
{
    std::string path = tempFile("quellix-job-cancel.txt", twoObjects);
    observed = {};
    AnalysisDef def{"observe", 1, "Observe", AnalysisThread::Worker, {}, nullptr, nullptr, observingRun};
    SearchJobRequest request{&def, {}, path};
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    std::atomic<bool> cancel{true};
    std::string message;
    EXPECT_TRUE(runSearchJob(request, loaded, manager, list, nullptr, nullptr, cancel, message));
    EXPECT_EQ(list.GetRowCount(), 0);
    EXPECT_EQ(observed.objects, 0);
    std::remove(path.c_str());
}

TEST(SearchJob, AFileOperationThatCannotWriteIsReportedAsFailed)
{
    const std::string path = tempFile("quellix-job-export.txt", "OBJECT Form 1 A\r\n{\r\n  PROPERTIES\r\n  {\r\n"
                                                                "    OnOpenForm=BEGIN\r\n                 x;\r\n"
                                                                "               END;\r\n\r\n  }\r\n}\r\n");
    const SearchCommand* command = findSearchCommand(1036);
    ASSERT_NE(command, nullptr);
    SearchJobRequest request{analysisFor(*command), {}, path};
    request.args.term = "/proc/quellix-cannot-write/code.txt";
    CLoadedExport loaded;
    CObjektManager manager;
    CResultList list;
    std::atomic<bool> cancel{false};
    std::string message;
    EXPECT_FALSE(runSearchJob(request, loaded, manager, list, nullptr, nullptr, cancel, message));
    EXPECT_EQ(message, "Befehl fehlgeschlagen.");
    std::remove(path.c_str());
}
