// The output plan: names proposed beside each input, and the checks made before anything is
// written, whatever spelling or link reaches a file.
#include <gtest/gtest.h>
#include <unistd.h>

#include "Failure.h"
#include "TestDatabase.h"
#include "batch/OutputPlan.h"
#include "batch/RequestFault.h"

namespace varnex {
namespace {

using test::TempDir;
using test::WriteFile;

BatchRequest Asking(OutputKind output) {
    BatchRequest request;
    request.output = output;
    return request;
}

OutputPlan Plan(const BatchRequest& request, std::vector<Input> inputs) {
    return PlanOutputs(request, "Lower", std::move(inputs));
}

TEST(OutputPlan, BesideEachInputATextGetsTxtAndADocumentKeepsItsExtension) {
    TempDir dir;
    const OutputPlan plan = Plan(Asking(OutputKind::BesideEach),
                                 {{(dir / "note.text").string()}, {(dir / "letter.docx").string(), true}});
    EXPECT_EQ(plan.outputs,
              (std::vector<std::filesystem::path>{dir / "note_Lower.txt", dir / "letter_Lower.docx"}));
    EXPECT_EQ(plan.faults, (std::vector<std::string>{"", ""}));
}

TEST(OutputPlan, AnOutputIsNeverAnInputByAnySpellingAndAnExistingOneNeedsForce) {
    TempDir dir;
    WriteFile(dir / "a.txt", "A");
    ASSERT_EQ(::link((dir / "a.txt").c_str(), (dir / "a_Lower.txt").c_str()), 0);
    WriteFile(dir / "b.txt", "B");
    WriteFile(dir / "b_Lower.txt", "old");
    BatchRequest request = Asking(OutputKind::BesideEach);
    request.force = true;
    const OutputPlan plan = Plan(request, {{(dir / "a.txt").string()}, {(dir / "b.txt").string()}});
    EXPECT_EQ(plan.faults[0], (dir / "a_Lower.txt").string() + ": is the input file " +
                                  (dir / "a.txt").string() + "; an output is never its own source");
    EXPECT_EQ(plan.faults[1], "");
    request.force = false;
    EXPECT_EQ(Plan(request, {{(dir / "b.txt").string()}}).faults[0],
              (dir / "b_Lower.txt").string() + ": exists already (--force replaces it)");

    BatchRequest one = Asking(OutputKind::OneFile);
    one.outputPath = dir / "a_Lower.txt";
    one.force = true;
    EXPECT_THROW(Plan(one, {{(dir / "a.txt").string()}}), Failure);
}

TEST(OutputPlan, TwoInputsNamedForOneOutputAreAFaultOfTheRequestAndFoundOnesOfTheSecondInput) {
    TempDir dir;
    std::filesystem::create_directory(dir / "real");
    std::filesystem::create_directory_symlink(dir / "real", dir / "alias");
    const std::string first = (dir / "real" / "a.txt").string(), second = (dir / "alias" / "a.txt").string();
    EXPECT_THROW(Plan(Asking(OutputKind::BesideEach), {{first}, {second}}), RequestFault);
    const OutputPlan plan =
        Plan(Asking(OutputKind::BesideEach), {{first, false, true}, {second, false, true}});
    ASSERT_EQ(plan.inputs.size(), 1u);  // the same file, found twice, is taken once
    EXPECT_EQ(plan.skipped, 1u);
}

TEST(OutputPlan, FilesFoundInAFolderThatAreOutputsOfOthersAreLeftOut) {
    TempDir dir;
    const std::string input = (dir / "a.txt").string(), earlier = (dir / "a_Lower.txt").string();
    const OutputPlan plan =
        Plan(Asking(OutputKind::BesideEach), {{input, false, true}, {earlier, false, true}});
    ASSERT_EQ(plan.inputs.size(), 1u);
    EXPECT_EQ(plan.inputs.front().name, input);
    EXPECT_EQ(plan.skipped, 1u);
    // named by the caller, it is converted all the same
    EXPECT_EQ(Plan(Asking(OutputKind::BesideEach), {{input}, {earlier}}).inputs.size(), 2u);
}

TEST(OutputPlan, ADocumentGetsAFileOfItsOwn) {
    TempDir dir;
    const Input document{(dir / "letter.docx").string(), true};
    EXPECT_THROW(Plan(Asking(OutputKind::StandardOutput), {document}), RequestFault);
    BatchRequest one = Asking(OutputKind::OneFile);
    one.outputPath = dir / "out.docx";
    EXPECT_THROW(Plan(one, {document, {(dir / "b.txt").string()}}), RequestFault);
    EXPECT_EQ(Plan(one, {document}).faults.front(), "");
    const OutputPlan found = Plan(Asking(OutputKind::StandardOutput), {{document.name, true, true}});
    EXPECT_EQ(found.faults.front(),
              document.name + ": a document is converted into a file: give -o FILE or --beside");
}

TEST(OutputPlan, InPlaceTakesRegularFilesOnceAndKeepsNoBackupOverAnother) {
    TempDir dir;
    WriteFile(dir / "a.txt", "A");
    WriteFile(dir / "b.txt", "B");
    WriteFile(dir / "b.txt.bak", "old");
    std::filesystem::create_symlink(dir / "a.txt", dir / "link.txt");
    BatchRequest request = Asking(OutputKind::InPlace);
    request.backupSuffix = ".bak";
    const OutputPlan plan = Plan(
        request, {{(dir / "a.txt").string()}, {(dir / "b.txt").string()}, {(dir / "link.txt").string()}});
    EXPECT_EQ(plan.faults[0], "");
    EXPECT_EQ(plan.faults[1], (dir / "b.txt.bak").string() + ": exists already (--force replaces it)");
    EXPECT_EQ(plan.faults[2],
              (dir / "link.txt").string() + ": is a symbolic link; name the file it points to");
    EXPECT_THROW(Plan(request, {{(dir / "a.txt").string()}, {(dir / "." / "a.txt").string()}}), RequestFault);
}

}  // namespace
}  // namespace varnex
