// One keystroke in the filter box: from the change of Edit1 to the views showing the new
// current record (the rebuild, the count, the title text, memos and grid bound to it, and the
// repaint), on generated collections of 1,000, 10,000 and 100,000 records per topic.
//
// Arguments: records per topic, then the share of titles the text matches (0: one in a
// thousand, 1: two thirds).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>

#include "bench_data.h"
#include "browser/Unit1.h"
#include "controls/edit.h"
#include "controls/error_box.h"
#include "controls/fonts.h"

namespace {

using collection::TitleShare;

struct Window {
    QTemporaryDir folder;
    std::unique_ptr<browser::Tmain> main;
};

// One browsing window per collection size, built once: the file is opened as start-up does.
browser::Tmain& windowFor(std::uint32_t recordsPerTopic) {
    static std::map<std::uint32_t, std::unique_ptr<Window>> windows;
    auto& slot = windows[recordsPerTopic];
    if (!slot) {
        slot = std::make_unique<Window>();
        const auto& file = bench::benchFile(recordsPerTopic);
        std::filesystem::create_symlink(std::filesystem::absolute(file.mdb),
                                        slot->folder.filePath("kelvora.mdb").toStdString());
        const QString previous = QDir::currentPath();
        QDir::setCurrent(slot->folder.path());
        // The largest collection holds one topic only: the other opens fail, quietly here.
        controls::setErrorBoxHandler([](const QString&, const QString&) {});
        slot->main = std::make_unique<browser::Tmain>();
        controls::setErrorBoxHandler({});
        QDir::setCurrent(previous);
        slot->main->show();
        QApplication::processEvents();
    }
    return *slot->main;
}

void BM_FilterKeystroke(benchmark::State& state) {
    browser::Tmain& main = windowFor(static_cast<std::uint32_t>(state.range(0)));
    const TitleShare share = state.range(1) == 0 ? TitleShare::perMille : TitleShare::twoThirds;
    // Two texts that select the same titles, so every change is a real rebuild.
    const QString marker = QString::fromStdU16String(collection::titleMarker(share));
    const QString texts[] = {marker, marker.left(marker.size() - 1)};
    int next = 0;
    for (auto _ : state) {
        main.Edit1->setText(texts[next]);
        next = 1 - next;
        QApplication::processEvents();  // the repaint of the views
    }
}

void arguments(benchmark::internal::Benchmark* bench) {
    for (std::int64_t records : {1000, 10000, 100000})
        for (std::int64_t share : {0, 1}) bench->Args({records, share});
    bench->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_FilterKeystroke)->Apply(arguments);

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Morvandel"));
    controls::installFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
