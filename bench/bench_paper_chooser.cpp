// The paper chooser on the shipped catalogue of real sheet products: what a
// user waits for when opening it, picking a maker (Avery lists the most
// papers) and typing into the search box. Each answer should stay well under
// the 0.1 s a user notices.
#include "designer/model/LxPaper.h"
#include "designer/windows/DesignerProgram.h"
#include "designer/windows/PictureButton.h"
#include "designer/windows/UnitSelectPaper.h"
#include "designer/windows/UnitTopMenu.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

const std::string kData = LX_DATA_FOLDER;

// The paper chooser of the running program.
lx::TFormSelectPaper* FormSelectPaper = nullptr;

void BM_LoadCatalogue(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(lx::TlxPaper(lx::CatalogueFilePath(kData)).Papers().size());
}

// Between Hisago and Avery, each change lists, sorts and previews a maker.
void BM_ChangeMaker(benchmark::State& state)
{
    QComboBox* makers = FormSelectPaper->CBMaker;
    int maker = 0;
    for (auto _ : state) {
        maker = 1 - maker;
        makers->setCurrentIndex(maker);
        QApplication::processEvents();
    }
    state.counters["papers"] = FormSelectPaper->LBPaperList->count();
}

// One keystroke in the search box over Avery's papers, and its deletion.
void BM_SearchKeystroke(benchmark::State& state)
{
    FormSelectPaper->CBMaker->setCurrentIndex(1);
    QLineEdit* search = FormSelectPaper->EditSearch;
    for (auto _ : state) {
        search->setText(search->text().isEmpty() ? QStringLiteral("L") : QString());
        QApplication::processEvents();
    }
    search->clear();
}

} // namespace

BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeMaker)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::filesystem::path own = std::filesystem::temp_directory_path() / "lx-bench-chooser";
    std::filesystem::create_directories(own / "lock");
    const std::string store = (own / "registry.txt").string();
    ::setenv("LX_REGISTRY_FILE", store.c_str(), 1);
    ::setenv("XDG_DATA_HOME", (own / "user").c_str(), 1);
    lx::RegistryStore(store).WriteString(lx::kProgramRegistryKey, lx::kDataDirValue, kData);
    QApplication app(argc, argv);
    auto program = std::make_unique<lx::DesignerProgram>((own / "lock").string());
    if (!program->Start({}))
        return 1;
    FormSelectPaper = &program->SelectPaper();
    program->TopMenu().PngBtnSelectPaper->click();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
