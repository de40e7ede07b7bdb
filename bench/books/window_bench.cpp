// Times a big book in the main window, offscreen, as the user meets it:
// Open Book (the conversion, with the book label counting the games), the
// scroll bar's last game once it ends, and searches through the Search
// Criteria window with its progress label.
//
//   books_window_bench BOOK [RUNS]
//
// Prints the best of the runs and checks that the label's counts rose, that
// the book was usable when Open Book ended and that the searches found the
// same games every run.

#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "books/ui/book_commands.h"
#include "books/ui/search_window.h"
#include "diagram/ui/book_panel.h"
#include "diagram/ui/main_window.h"
#include "diagram/ui/program.h"
#include "editing/ui/board_editor.h"
#include "platform/ui/fake_services.h"

namespace {

// Counts the paints of a label and keeps the texts painted.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QLabel* label) : m_label(label) { label->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_label && event->type() == QEvent::Paint) {
            texts.push_back(m_label->text().toStdString());
        }
        return false;
    }
    std::vector<std::string> texts;

  private:
    QLabel* m_label;
};

// User plus system time of the process so far, in seconds.
double CpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    const auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// True when every "N games" text counts more games than the one before.
bool CountsRise(const std::vector<std::string>& texts, long long& last) {
    last = 0;
    for (const std::string& t : texts) {
        const long long n = std::atoll(t.c_str());
        if (t.find(" games") == std::string::npos || n <= last) {
            return false;
        }
        last = n;
    }
    return !texts.empty();
}

struct Query {
    const char* name;
    int box;  // the Text1 box, or -1: the position (partial)
    const char* text;
};

struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
    void Keep(double w, double c) {
        wall = std::min(wall, w);
        cpu = std::min(cpu, c);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: books_window_bench BOOK [RUNS]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    // The program works in its own folder: the book is named in full.
    const std::string bookFile = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toStdString();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    QTemporaryDir dir;
    platform::FakeServices fakes;
    diagram::ui::Program program;
    diagram::ui::MainWindow window(program, fakes.services());
    editing::ui::Attach(window.host());
    books::ui::BookCommands* commands = books::ui::Attach(window.host());
    diagram::ui::StartupOptions options;
    options.exeDir = dir.path().toStdString();
    window.Load(options);
    window.show();
    QApplication::processEvents();

    QLabel* label = window.Frame2()->Label1();
    books::ui::SearchWindow* search = commands->Search();
    const Query queries[] = {
        {"men: White 16", 1, "16"},
        {"pieces: Ke1+ke8", 4, "Ke1+ke8"},
        {"words: \"Generated game 1999\"", 0, "\"Generated game 1999\""},
        {"position, partial: Pe4 + Ke1", -1, "8/8/8/8/4P3/8/8/4K3"},
    };
    constexpr size_t kQueries = std::size(queries);
    Timing open;
    Timing last;
    std::vector<Timing> searched(kQueries);
    std::vector<long long> found(kQueries, -1);
    bool ok = true;
    size_t paints = 0;
    long long lastCount = 0;
    long long games = 0;
    for (int run = 0; run < runs; ++run) {
        program.book.BookFile = bookFile;
        PaintCounter counter(label);
        QElapsedTimer clock;
        double cpu = CpuSeconds();
        clock.start();
        window.CmdLoad();
        open.Keep(clock.nsecsElapsed() / 1e9, CpuSeconds() - cpu);
        games = program.book.NGames;
        const std::vector<std::string> counts = counter.texts;
        paints = counts.size();
        if (!CountsRise(counts, lastCount)) {
            std::printf("the book label's counts did not rise (%zu paints)\n", paints);
            ok = false;
        }
        QApplication::processEvents();
        const QString first = QStringLiteral("Game 1. (1 of %1)").arg(games);
        if (label->text() != first) {
            std::printf("after Open Book the label reads \"%s\"\n", label->text().toStdString().c_str());
            ok = false;
        }

        // Usable at once: the last game shows.
        cpu = CpuSeconds();
        clock.start();
        window.Frame2()->HScroll1()->setValue(static_cast<int>(games));
        QApplication::processEvents();
        last.Keep(clock.nsecsElapsed() / 1e9, CpuSeconds() - cpu);
        const QString end = QStringLiteral("Game %1. (%1 of %1)").arg(games);
        if (label->text() != end) {
            std::printf("the last game's label reads \"%s\"\n", label->text().toStdString().c_str());
            ok = false;
        }

        for (size_t q = 0; q < kQueries; ++q) {
            search->show();
            for (int b = 0; b < 5; ++b) {
                search->Text1(b)->setText(b == queries[q].box ? QString::fromLatin1(queries[q].text)
                                                              : QString());
            }
            // A position search steps through its matching positions.
            const bool position = queries[q].box < 0;
            search->Text2()->setText(position ? QString::fromLatin1(queries[q].text) : QString());
            search->Check1(0)->setChecked(position);
            QApplication::processEvents();
            cpu = CpuSeconds();
            clock.start();
            search->Command1()->click();
            searched[q].Keep(clock.nsecsElapsed() / 1e9, CpuSeconds() - cpu);
            const long long n = static_cast<long long>(program.book.GameIndex.size());
            if (found[q] >= 0 && found[q] != n) {
                std::printf("search %s found %lld games, before %lld\n", queries[q].name, n, found[q]);
                ok = false;
            }
            found[q] = n;
            QApplication::processEvents();
        }
        window.action(QStringLiteral("MNClose"))->trigger();
    }

    std::printf("window, %lld games, best of %d runs:\n", games, runs);
    std::printf("  Open Book: wall %.3f s, user+sys %.3f s; the label painted %zu counts, the last %lld\n",
                open.wall, open.cpu, paints, lastCount);
    std::printf("  last game after Open Book: wall %.3f s\n", last.wall);
    for (size_t q = 0; q < kQueries; ++q) {
        std::printf("  search %-32s wall %.3f s, user+sys %.3f s, %lld %s found\n", queries[q].name,
                    searched[q].wall, searched[q].cpu, found[q], queries[q].box < 0 ? "positions" : "games");
    }
    return ok ? 0 : 1;
}
