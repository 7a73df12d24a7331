// A batch on the engine alone: its outputs, what its observer is told, its cancel and hooks.
#include <gtest/gtest.h>

#include "BatchSupport.h"
#include "Failure.h"
#include "Packages.h"
#include "batch/BatchRun.h"
#include "batch/RequestFault.h"

namespace varnex {
namespace {

using test::ReadFile;
using test::RecordingHooks;
using test::RecordingObserver;
using test::TempDir;
using test::WriteFile;

BatchRequest Request(std::vector<std::string> inputs, OutputKind output = OutputKind::BesideEach) {
    BatchRequest request;
    request.source = "Upper";
    request.target = "Lower";
    request.inputs = std::move(inputs);
    request.output = output;
    return request;
}

std::vector<std::string> LettersIn(const TempDir& dir, int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string name = (dir / ("f" + std::to_string(i) + ".txt")).string();
        WriteFile(name, std::string(1, static_cast<char>('A' + i)) + "\n");
        names.push_back(name);
    }
    return names;
}

TEST(BatchRun, ConvertsAFolderBesideEachFileAndTellsTheObserverTheTotals) {
    TempDir dir;
    WriteFile(dir / "a.txt", "HELLO\n");
    WriteFile(dir / "b.txt", "WORLD\n");
    BatchRequest request = Request({dir.Path().string()});
    request.recursive = true;
    request.jobs = 2;
    RecordingObserver observer;
    const BatchTotals totals = RunBatch(test::CaseMap(), request, observer);
    EXPECT_EQ(ReadFile(dir / "a_Lower.txt"), "hello\n");
    EXPECT_EQ(ReadFile(dir / "b_Lower.txt"), "world\n");
    EXPECT_EQ(totals.converted, 2u);
    EXPECT_EQ(totals.failed, 0u);
    EXPECT_EQ(totals.met, 2u);
    EXPECT_EQ(totals.bytes, 12u);
    EXPECT_EQ(observer.placed.size(), 2u);
    EXPECT_EQ(observer.converted.size(), 2u);
    EXPECT_EQ(observer.finished, 1);
    EXPECT_EQ(observer.totals.converted, 2u);
}

TEST(BatchRun, AFileThatFailsIsToldAndTheOthersStillConvert) {
    TempDir dir;
    WriteFile(dir / "a.txt", "AB\n");
    RecordingObserver observer;
    const BatchTotals totals = RunBatch(
        test::CaseMap(), Request({(dir / "missing.txt").string(), (dir / "a.txt").string()}), observer);
    EXPECT_EQ(ReadFile(dir / "a_Lower.txt"), "ab\n");
    EXPECT_EQ(totals.converted, 1u);
    EXPECT_EQ(totals.failed, 1u);
    ASSERT_EQ(observer.failed.size(), 1u);
    EXPECT_NE(observer.failed.front().find("missing.txt"), std::string::npos);
}

TEST(BatchRun, ACancelEndsTheBatchBetweenFilesAndKeepsWhatIsInPlace) {
    TempDir dir;
    BatchRequest request = Request(LettersIn(dir, 5));
    request.jobs = 1;
    request.temporaryFiles = TemporaryFile::Named;  // placed one by one, as they are done
    RecordingObserver observer;
    observer.cancelAfterPlaced = 2;
    const BatchTotals totals = RunBatch(test::CaseMap(), request, observer);
    EXPECT_TRUE(totals.cancelled);
    EXPECT_EQ(totals.converted, 2u);
    EXPECT_EQ(totals.failed, 0u);
    EXPECT_EQ(ReadFile(dir / "f1_Lower.txt"), "b\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "f2_Lower.txt"));
    EXPECT_EQ(test::FilesIn(dir.Path()).size(), 7u);  // five inputs, two outputs, no leftovers
}

TEST(BatchRun, ACancelInsideAFileLeavesNoOutputOfIt) {
    TempDir dir;
    WriteFile(dir / "big.txt", std::string(1 << 20, 'A'));
    for (const OutputKind kind : {OutputKind::BesideEach, OutputKind::OneFile}) {
        BatchRequest request = Request({(dir / "big.txt").string()}, kind);
        request.outputPath = dir / "one.txt";
        RecordingObserver observer;
        observer.showsProgress = true;
        observer.cancelOnceAdvanced = true;
        const BatchTotals totals = RunBatch(test::CaseMap(), request, observer);
        EXPECT_TRUE(totals.cancelled);
        EXPECT_EQ(totals.converted, 0u);
        EXPECT_EQ(totals.failed, 0u);
        EXPECT_LT(observer.advanced, 1u << 20);  // stopped between pieces
        EXPECT_EQ(test::FilesIn(dir.Path()), std::vector<std::string>{"big.txt"});
    }
}

TEST(BatchRun, OneFileIsPlacedOnlyWhenEveryInputConvertedIntoIt) {
    TempDir dir;
    WriteFile(dir / "a.txt", "AB\n");
    BatchRequest request =
        Request({(dir / "a.txt").string(), (dir / "missing.txt").string()}, OutputKind::OneFile);
    request.outputPath = dir / "out.txt";
    request.jobs = 1;
    RecordingObserver observer;
    const BatchTotals totals = RunBatch(test::CaseMap(), request, observer);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.txt"));
    EXPECT_EQ(totals.converted, 0u);
    EXPECT_EQ(totals.failed, 2u);
    ASSERT_EQ(observer.failed.size(), 2u);
    EXPECT_EQ(observer.failed.back(), (dir / "out.txt").string() + ": not written, since a file failed");

    request.inputs = {(dir / "a.txt").string(), (dir / "a.txt").string()};
    RecordingObserver complete;
    EXPECT_EQ(RunBatch(test::CaseMap(), request, complete).converted, 2u);
    EXPECT_EQ(ReadFile(dir / "out.txt"), "ab\nab\n");
}

TEST(BatchRun, TheReportAndTheProgressAreToldOnlyWhenAsked) {
    TempDir dir;
    WriteFile(dir / "a.txt", "A!B!\n");
    BatchRequest request = Request({(dir / "a.txt").string()});
    RecordingObserver quiet;
    RunBatch(test::CaseMap(), request, quiet);
    EXPECT_TRUE(quiet.reports.empty());
    EXPECT_EQ(quiet.plannedBytes, 0u);
    EXPECT_EQ(quiet.plannedOnly, (dir / "a.txt").string());

    request.report = true;
    request.force = true;
    RecordingObserver told;
    told.showsProgress = true;
    const BatchTotals totals = RunBatch(test::CaseMap(), request, told);
    EXPECT_EQ(totals.dropped, 2u);
    EXPECT_EQ(told.reports, std::vector<std::string>{(dir / "a.txt").string() +
                                                     ": 2 codes without an entry dropped: 33 (2x)"});
    EXPECT_EQ(told.plannedBytes, 5u);
    EXPECT_EQ(told.advanced, 5u);
}

TEST(BatchRun, FontsAreMatchedAsTypedAndAnUnknownOneNamesTheNearest) {
    TempDir dir;
    WriteFile(dir / "a.txt", "A\n");
    BatchRequest request = Request({(dir / "a.txt").string()});
    request.source = "upper";
    RecordingObserver observer;
    EXPECT_EQ(RunBatch(test::CaseMap(), request, observer).converted, 1u);
    request.source = "Uper";
    try {
        RunBatch(test::CaseMap(), request, observer);
        FAIL() << "an unknown font converted";
    } catch (const Failure& failure) {
        EXPECT_EQ(std::string(failure.what()).rfind("case.map: the font \"Uper\" is not in the map", 0), 0u);
    }
}

TEST(BatchRun, NamedTemporaryFilesAreToldToTheHooksWithinStepsAndWorkersStartThroughThem) {
    TempDir dir;
    BatchRequest request = Request(LettersIn(dir, 4));
    request.jobs = 2;
    request.temporaryFiles = TemporaryFile::Named;
    RecordingObserver observer;
    RecordingHooks hooks;
    EXPECT_EQ(RunBatch(test::CaseMap(), request, observer, hooks).converted, 4u);
    EXPECT_EQ(hooks.workers, 2);
    EXPECT_EQ(hooks.named.size(), 4u);
    EXPECT_EQ(hooks.namedOutsideSteps, 0);
    for (const auto& temporary : hooks.named) EXPECT_FALSE(std::filesystem::exists(temporary));
}

TEST(BatchRun, ADocumentNamedForStandardOutputIsAFaultOfTheRequest) {
    TempDir dir;
    test::WritePackage(dir / "letter.docx", test::Docx("<w:p><w:r><w:t>A</w:t></w:r></w:p>"));
    RecordingObserver observer;
    EXPECT_THROW(RunBatch(test::CaseMap(),
                          Request({(dir / "letter.docx").string()}, OutputKind::StandardOutput), observer),
                 RequestFault);
}

}  // namespace
}  // namespace varnex
