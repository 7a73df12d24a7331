// The inputs a request names: folders walked in the order of the names, the files that the
// converter recognises, the filters, and what is left out.
#include <gtest/gtest.h>

#include "BatchSupport.h"
#include "Packages.h"
#include "batch/InputList.h"

namespace varnex {
namespace {

using test::TempDir;
using test::WriteFile;

std::vector<std::string> Names(const InputList& list, const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& input : list.inputs)
        names.push_back(input.name.substr(dir.Path().string().size() + 1) + (input.document ? " (doc)" : ""));
    return names;
}

BatchRequest Walking(const TempDir& dir) {
    BatchRequest request;
    request.inputs = {dir.Path().string()};
    request.recursive = true;
    return request;
}

TEST(InputList, AFolderGivesItsTextsAndDocumentsInNameOrderAndTellsWhatItLeftOut) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    WriteFile(dir / "sub" / "b.txt", "B");
    WriteFile(dir / "a.txt", "A");
    WriteFile(dir / "picture.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    WriteFile(dir / ".a.txt.varnex-AbC123", "half");
    test::WritePackage(dir / "c.docx", test::Docx("<w:p/>"));
    test::WritePackage(dir / "sheet.xlsx",
                       {{"[Content_Types].xml", "<Types/>"}, {"xl/workbook.xml", "<workbook/>"}});
    test::RecordingObserver observer;
    const InputList list = ListInputs(Walking(dir), observer);
    EXPECT_EQ(Names(list, dir), (std::vector<std::string>{"a.txt", "c.docx (doc)", "sub/b.txt"}));
    EXPECT_EQ(list.skipped, 3u);  // the picture, the temporary file, the spreadsheet
    ASSERT_EQ(observer.skipped.size(), 1u);
    EXPECT_EQ(observer.skipped.front().find((dir / "sheet.xlsx").string()), 0u);
    for (const auto& input : list.inputs) EXPECT_TRUE(input.found);
}

TEST(InputList, FiltersChooseByNameWhateverTheFilesHold) {
    TempDir dir;
    std::filesystem::create_directory(dir / "old");
    WriteFile(dir / "old" / "a.dat", "A");
    WriteFile(dir / "b.dat", std::string("B\0", 2));
    WriteFile(dir / "c.txt", "C");
    BatchRequest request = Walking(dir);
    request.include = [](const std::string& name) { return name.ends_with(".dat"); };
    test::RecordingObserver observer;
    EXPECT_EQ(Names(ListInputs(request, observer), dir), (std::vector<std::string>{"b.dat", "old/a.dat"}));
    request.exclude = [](const std::string& name) { return name == "old"; };
    EXPECT_EQ(Names(ListInputs(request, observer), dir), (std::vector<std::string>{"b.dat"}));
}

TEST(InputList, InPlaceFollowsNoLinkAndNamedInputsAreTakenAsNamed) {
    TempDir dir;
    WriteFile(dir / "a.txt", "A");
    std::filesystem::create_symlink(dir / "a.txt", dir / "link.txt");
    BatchRequest request = Walking(dir);
    test::RecordingObserver observer;
    EXPECT_EQ(Names(ListInputs(request, observer), dir), (std::vector<std::string>{"a.txt", "link.txt"}));
    request.output = OutputKind::InPlace;
    const InputList list = ListInputs(request, observer);
    EXPECT_EQ(Names(list, dir), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(list.linksSkipped, 1u);

    request.inputs = {"-", (dir / "missing.txt").string()};
    const InputList named = ListInputs(request, observer);
    ASSERT_EQ(named.inputs.size(), 2u);
    EXPECT_EQ(ShownName(named.inputs[0]), "standard input");
    EXPECT_FALSE(named.inputs[1].found);
}

}  // namespace
}  // namespace varnex
