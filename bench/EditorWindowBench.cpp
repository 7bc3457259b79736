// The editor's responsiveness: from process start to the main window shown
// (Plindorax started as a program, offscreen), and from a character typed in
// the macro grid to the refreshed, repainted grid.
#include "editor/model/KeypadClass.h"
#include "editor/snapshots/SilentServices.h"
#include "editor/window/KeypadPanel.h"
#include "editor/window/MacroGrid.h"
#include "editor/window/Main.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace tessaron;
using Clock = std::chrono::steady_clock;

// Starts Plindorax and waits for its "shown" line; the time is manual.
void BM_StartToMainWindowShown(benchmark::State& state)
{
    QTemporaryDir home;
    ::setenv("TESSARON_HOME", home.path().toLocal8Bit().constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("PLINDORAX_REPORT_SHOWN", "1", 1);
    char program[] = PLINDORAX_PROGRAM;
    char* argv[] = {program, nullptr};
    for (auto _ : state) {
        int out[2];
        if (::pipe(out) != 0) {
            state.SkipWithError("pipe");
            break;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const auto start = Clock::now();
        pid_t pid = 0;
        const int spawned = ::posix_spawn(&pid, program, &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        if (spawned != 0) {
            ::close(out[0]);
            state.SkipWithError("cannot start Plindorax");
            break;
        }
        std::string line;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') {
            line += c;
        }
        const auto shown = Clock::now();
        ::close(out[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (line != "shown") {
            state.SkipWithError("Plindorax did not report its window");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
    ::unsetenv("PLINDORAX_REPORT_SHOWN");
}
BENCHMARK(BM_StartToMainWindowShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// The items typed into the first key of the 20-key layout, which the window
// shows at start.
int typed(TfrmMain& window)
{
    return window.Document().Keypad().ItemCount(TKeypadPanel::FirstKey(2), 0);
}

// One typed character: the key event, the insertion, the grid's new labels
// and the event loop's repaint of what changed, as when a user types.
void BM_TypedCharacterToRefreshedGrid(benchmark::State& state)
{
    QTemporaryDir home;
    ::setenv("TESSARON_HOME", home.path().toLocal8Bit().constData(), 1);
    SilentServices silent;
    TfrmMain window(silent.Services(), {});
    window.show();
    QApplication::processEvents();
    window.Document().Keypad().Operating_Mode = 0; // no length warning
    TMacroGrid* grid = window.findChild<TMacroGrid*>(QStringLiteral("Grid"));
    for (auto _ : state) {
        if (typed(window) >= MacroByteLimit) {
            state.PauseTiming();
            window.findChild<QToolButton*>(QStringLiteral("ToolBtnNew"))->click();
            window.Document().Keypad().Operating_Mode = 0;
            state.ResumeTiming();
        }
        QTest::keyClick(grid, 'a');
        QApplication::processEvents();
    }
    benchmark::DoNotOptimize(typed(window));
}
BENCHMARK(BM_TypedCharacterToRefreshedGrid)->Unit(benchmark::kMicrosecond);

// The same at the front of the macro, so that every later cell changes too.
void BM_TypedCharacterAtTheFront(benchmark::State& state)
{
    QTemporaryDir home;
    ::setenv("TESSARON_HOME", home.path().toLocal8Bit().constData(), 1);
    SilentServices silent;
    TfrmMain window(silent.Services(), {});
    window.show();
    QApplication::processEvents();
    window.Document().Keypad().Operating_Mode = 0;
    TMacroGrid* grid = window.findChild<TMacroGrid*>(QStringLiteral("Grid"));
    for (auto _ : state) {
        state.PauseTiming();
        if (typed(window) >= MacroByteLimit) {
            window.findChild<QToolButton*>(QStringLiteral("ToolBtnNew"))->click();
            window.Document().Keypad().Operating_Mode = 0;
        }
        grid->SetCursor(0);
        QApplication::processEvents();
        state.ResumeTiming();
        QTest::keyClick(grid, 'a');
        QApplication::processEvents();
    }
}
BENCHMARK(BM_TypedCharacterAtTheFront)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
