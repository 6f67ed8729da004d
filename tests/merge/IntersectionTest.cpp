#include "merge/Intersection.h"

#include "model/CodePage.h"
#include "model/ReadExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {
namespace fs = std::filesystem;

// One object as a Navision export writes it (OEM bytes), from "OBJECT" through the CR LF after "}".
std::string object(const std::string& typeWord, int number, const std::string& name, const std::string& code,
                   const std::string& date = "05.07.23", const std::string& time = "10:06:14 PM",
                   const std::string& versions = "NAVW17.00")
{
    return "OBJECT " + typeWord + " " + std::to_string(number) + " " + name +
           "\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=" + date + ";\r\n    Time=" + time +
           ";\r\n    Modified=Yes;\r\n    Version List=" + versions +
           ";\r\n  }\r\n  PROPERTIES\r\n  {\r\n  }\r\n  CODE\r\n  {\r\n    BEGIN\r\n      " + code +
           "\r\n    END.\r\n  }\r\n}\r\n";
}

// Objects joined as in an export: an empty line between two objects.
std::string joined(const std::vector<std::string>& objects)
{
    std::string out;
    for (const std::string& o : objects)
        out += (out.empty() ? "" : "\r\n") + o;
    return out;
}

class Intersection : public ::testing::Test {
protected:
    void SetUp() override
    {
        setOemCodePage(OemCodePage::CP850);
        dir = fs::temp_directory_path() / ("quellix-merge-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        request.source1 = path("Source 1.txt");
        request.source2 = path("Source 2.txt");
        request.target1 = path("Vgl Neu.txt");
        request.target2 = path("Vgl Alt.txt");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    static void write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool build(const std::string& source1, const std::string& source2)
    {
        write(request.source1, source1);
        write(request.source2, source2);
        buildIntersectionFiles(request, text, catalogue, nullptr, nullptr, nullptr, result);
        return result.status.ok() && !result.cancelled;
    }

    fs::path dir;
    IntersectionRequest request;
    CSourceText text;
    CObjektManager catalogue;
    IntersectionResult result;
};

const std::string kTable18a = object("Table", 18, "Customer", "Name := 'A';");
const std::string kTable18b = object("Table", 18, "Customer", "Name := 'B';");
const std::string kCodeunit80a = object("Codeunit", 80, "Sales-Post", "Post;");
const std::string kCodeunit80b = object("Codeunit", 80, "Sales-Post", "Post(TRUE);");

} // namespace

TEST_F(Intersection, ExportsWithoutACommonObjectGiveTwoEmptyFiles)
{
    ASSERT_TRUE(build(joined({kTable18a}), joined({object("Table", 19, "X", ""), object("Form", 18, "Y", "")})));
    EXPECT_EQ(result.target1Objects, 0);
    EXPECT_EQ(result.target2Objects, 0);
    ASSERT_TRUE(fs::exists(request.target1));
    EXPECT_EQ(read(request.target1), "");
    EXPECT_EQ(read(request.target2), "");

    // Texts without any object have nothing to pair either.
    ASSERT_TRUE(build("no objects here\r\n", "no objects here\r\n"));
    EXPECT_EQ(read(request.target1), "");
    EXPECT_EQ(read(request.target2), "");
    ASSERT_TRUE(build("", ""));
    EXPECT_EQ(read(request.target1), "");
}

TEST_F(Intersection, EachTargetHoldsOneSidesTextInTheOtherSidesOrderSeparatedByAnEmptyLine)
{
    const std::string form21 = object("Form", 21, "Customer Card", "");
    const std::string report111 = object("Report", 111, "Top", "");
    ASSERT_TRUE(build(joined({kTable18a, kCodeunit80a, form21}), joined({kCodeunit80b, report111, kTable18b})));
    EXPECT_EQ(result.target1Objects, 2);
    EXPECT_EQ(result.target2Objects, 2);
    EXPECT_EQ(read(request.target1), kCodeunit80a + "\r\n" + kTable18a);
    EXPECT_EQ(read(request.target2), kTable18b + "\r\n" + kCodeunit80b);
    // The document's catalogue keeps the second source.
    EXPECT_EQ(catalogue.fileName(), request.source2);
    EXPECT_EQ(catalogue.count(), 3);
}

TEST_F(Intersection, DuplicatesGiveTheFirstPartnerOncePerOccurrenceOfTheOrderingObject)
{
    // Target 1 takes source 1's objects in source 2's order: source 2 orders, source 1 is searched.
    ASSERT_TRUE(build(joined({kTable18a, kTable18b}), joined({kTable18b, kCodeunit80b, kTable18a})));
    EXPECT_EQ(read(request.target1), kTable18a + "\r\n" + kTable18a);
    EXPECT_EQ(result.target1Objects, 2);
    EXPECT_EQ(read(request.target2), kTable18b + "\r\n" + kTable18b);
}

TEST_F(Intersection, TypesAndTheTypeWordsOfUntypedObjectsKeepObjectsApart)
{
    const std::string page21 = object("Page", 21, "Customer Card", "Page;");
    const std::string query21 = object("Query", 21, "Customers", "Query;");
    const std::string page21b = object("Page", 21, "Customer Card", "Page 2;");
    ASSERT_TRUE(build(joined({object("Table", 18, "Customer", ""), page21}),
                      joined({object("Form", 18, "Customer", ""), query21})));
    EXPECT_EQ(read(request.target1), "");
    EXPECT_EQ(read(request.target2), "");

    ASSERT_TRUE(build(joined({query21, page21}), joined({page21b})));
    EXPECT_EQ(read(request.target1), page21);
    EXPECT_EQ(read(request.target2), page21b);
}

TEST_F(Intersection, UmlautsAreWrittenAsTheSourceBytesAndTheFilesLoadBack)
{
    // CP850: 0x81 ü, 0x84 ä, 0x94 ö, 0xE1 ß, 0x8E Ä; 0xC4 a box-drawing line.
    const std::string kunde1 = object("Table", 18, "Kunde \x81" "bersicht", "Name := 'Stra\xE1" "e \x84\x94';",
                                      "05.07.23", "10:06:14 PM", "NAVW17.00,M\x84rz");
    const std::string kunde2 = object("Table", 18, "Kunde \x81" "bersicht", "Name := '\x8E\xC4\xC4';");
    const std::string form5 = object("Form", 5, "Gr\x94\xE1" "e", "");
    ASSERT_TRUE(build(joined({kunde1, form5}), joined({form5, kunde2})));
    EXPECT_EQ(read(request.target1), form5 + "\r\n" + kunde1);
    EXPECT_EQ(read(request.target2), kunde2 + "\r\n" + form5);

    std::string loaded;
    ASSERT_TRUE(readExportFile(request.target1, loaded).ok());
    CSourceText back(loaded);
    CObjektManager again;
    again.load(&back, request.target1);
    ASSERT_EQ(again.count(), 2);
    std::string expected1 = form5, expected2 = kunde1;
    oemToAnsi(expected1);
    oemToAnsi(expected2);
    EXPECT_EQ(again.sourceText(0), expected1);
    EXPECT_EQ(again.sourceText(1), expected2);
    EXPECT_EQ(std::string(again.get(1).headerText()), "Table 18 Kunde \xFC" "bersicht");
}

TEST_F(Intersection, ALongerTargetIsReplacedWholeAndNoTemporaryFileStays)
{
    write(request.target1, std::string(100000, 'x'));
    ASSERT_TRUE(build(joined({kTable18a}), joined({kTable18b})));
    EXPECT_EQ(read(request.target1), kTable18a);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 4);
}

TEST_F(Intersection, IgnoringNoiseGivesBothFilesTheFirstSourcesDateTimeAndVersionList)
{
    const std::string first = object("Table", 18, "Customer", "A;", "05.07.23", "10:06:14 PM", "NAVW17.00");
    const std::string second = object("Table", 18, "Customer", "B;", "09/06/18", "[ 4:41:14 PM]", "NAVW18.00,QLX");
    request.ignoreNoise = true;
    ASSERT_TRUE(build(first, second));
    EXPECT_EQ(read(request.target1), first);
    EXPECT_EQ(read(request.target2), object("Table", 18, "Customer", "B;", "05.07.23", "10:06:14 PM", "NAVW17.00"));
    EXPECT_EQ(read(request.source2), second) << "the sources are never touched";

    request.ignoreNoise = false;
    ASSERT_TRUE(build(first, second));
    EXPECT_EQ(read(request.target2), second);
}

TEST(PropertyNoise, OnlyLinesInsideObjectPropertiesThatBothObjectsHaveAreTaken)
{
    const std::string target = "OBJECT Table 1 T\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=01.01.20;\r\n"
                               "    Time=12:00:00;\r\n  }\r\n  CODE\r\n  {\r\n    Date=code;\r\n  }\r\n}\r\n";
    const std::string source = "OBJECT Table 1 T\r\n{\r\n  OBJECT-PROPERTIES\r\n  {\r\n    Date=21-12-17;\r\n"
                               "    Version List=X;\r\n  }\r\n}\r\n";
    std::string expected = target;
    expected.replace(expected.find("01.01.20"), 8, "21-12-17");
    EXPECT_EQ(withPropertyNoiseOf(target, source), expected);
}

TEST_F(Intersection, AMissingSourceEndsTheBuildBeforeAnyTargetIsWritten)
{
    write(request.source2, kTable18b);
    request.source1 = path("missing.txt");
    buildIntersectionFiles(request, text, catalogue, nullptr, nullptr, nullptr, result);
    EXPECT_EQ(result.status.kind, OutcomeKind::NotFound);
    EXPECT_EQ(result.status.path, request.source1);
    EXPECT_FALSE(fs::exists(request.target1));
}

TEST_F(Intersection, AnUnwritableTargetIsReportedAndTheTargetWrittenBeforeStays)
{
    request.target2 = path("no such folder/Vgl Alt.txt");
    EXPECT_FALSE(build(joined({kTable18a}), joined({kTable18b})));
    EXPECT_EQ(result.status.kind, OutcomeKind::CannotWrite);
    EXPECT_EQ(result.status.path, request.target2);
    EXPECT_EQ(result.status.reason, request.target2 + ": No such file or directory"); // the system's word, for the user
    EXPECT_EQ(read(request.target1), kTable18a);
}

TEST_F(Intersection, ABuildAfterTheSecondSourceChangedUsesItsNewText)
{
    ASSERT_TRUE(build(joined({kTable18a, kCodeunit80a}), joined({kTable18b})));
    ASSERT_TRUE(build(joined({kTable18a, kCodeunit80a}), joined({kCodeunit80b, kTable18b})));
    EXPECT_EQ(read(request.target1), kCodeunit80a + "\r\n" + kTable18a);
    EXPECT_EQ(read(request.target2), kTable18b + "\r\n" + kCodeunit80b);
}

TEST_F(Intersection, ACancelledBuildLeavesTheTargetsAsTheyWere)
{
    write(request.target1, "old");
    write(request.source1, kTable18a);
    write(request.source2, kTable18b);
    std::atomic<bool> cancel{true};
    buildIntersectionFiles(request, text, catalogue, nullptr, nullptr, &cancel, result);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(read(request.target1), "old");
}

TEST_F(Intersection, AnExportIntersectedWithItselfIsReproducedByteForByte)
{
    const std::string sample = read(std::string(QUELLIX_SOURCE_DIR) + "/examples/sample-export.txt");
    ASSERT_FALSE(sample.empty());
    ASSERT_TRUE(build(sample, sample));
    EXPECT_EQ(result.target1Objects, 20);
    EXPECT_TRUE(read(request.target1) == sample) << "the intersection differs from the export";
    EXPECT_TRUE(read(request.target2) == sample);
}
