// render-book and sheet: the diagrams of a whole book, as one image file per
// game (or position) with an index, or as a printable PDF sheet.

#include <unistd.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/fairy_options.h"
#include "books/book_export.h"
#include "books/convert.h"
#include "books/position_index.h"
#include "books/render/diagram_export.h"
#include "books/sheet_layout.h"
#include "settings/settings_file.h"

namespace cli {

namespace {

using books::render::ExportResult;
using books::render::ExportStatus;

// Fonts (lettering, captions) need a GUI application; the offscreen
// platform serves when none is asked for.
std::unique_ptr<QGuiApplication> StartGui() {
    if (QGuiApplication::instance() != nullptr) {
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "pandrel-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// The book, converted as opening it does, and its work file, removed when
// the command is done. Holds the exit status of the conversion.
class OpenedBook {
  public:
    OpenedBook(Context& ctx, const std::string& file, const char* command) : m_program(ctx.program) {
        app::Program& program = ctx.program;
        program.book.BookFile = file;
        const books::ConvertInput in{
            books::WorkFilePath(program.settings.AppDir, program.WorkName), program.style, program.vet, {}};
        const books::LoadResult r = books::LoadBook(program.book, in);
        switch (r.status) {
            case books::LoadStatus::kDone:
                break;
            case books::LoadStatus::kStopped:
                // The games converted before the fault are exported all the same.
                books::DropUnfinishedGame(program.book);
                ctx.err << "pandrel-cli " << command << ": " << file << ": conversion stopped: " << r.reason
                        << "\n";
                m_status = kFailure;
                break;
            case books::LoadStatus::kNoWorkFile:
            case books::LoadStatus::kNoBookFile:
                ctx.err << "pandrel-cli " << command << ": " << r.reason << "\n";
                m_status = kFailure;
                m_usable = false;
                break;
        }
    }
    ~OpenedBook() {
        const std::string path = m_program.book.WorkPath();
        m_program.book.CloseWorkFile();
        books::RemoveWorkFiles(path);
    }
    OpenedBook(const OpenedBook&) = delete;
    OpenedBook& operator=(const OpenedBook&) = delete;

    bool usable() const { return m_usable; }
    int status() const { return m_status; }

  private:
    app::Program& m_program;
    int m_status = kOk;
    bool m_usable = true;
};

// The settings file's block names, for the games' Style tags.
std::vector<std::string> StyleNames(const app::Program& program) {
    settings::Style probe;
    settings::ProgramSettings copy = program.settings;
    return settings::ReadSettings(probe, copy).newStyles;
}

// A progress line on stderr while it is a terminal: count, total, rate.
class TerminalProgress {
  public:
    explicit TerminalProgress(const char* what) : m_what(what), m_on(::isatty(STDERR_FILENO) == 1) {
        m_start = m_last = Clock::now();
    }
    ~TerminalProgress() { Clear(); }
    /// Takes the progress line away, before any message.
    void Clear() {
        if (m_on && m_shown) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            m_shown = false;
        }
    }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    books::render::ProgressFn Fn() {
        if (!m_on) {
            return {};
        }
        return [this](int64_t done, int64_t total) {
            const auto now = Clock::now();
            if (now - m_last >= std::chrono::milliseconds(200) || done == total) {
                m_last = now;
                const double seconds = std::chrono::duration<double>(now - m_start).count();
                std::fprintf(stderr, "\r%lld of %lld %s, %.0f a second\033[K", static_cast<long long>(done),
                             static_cast<long long>(total), m_what,
                             seconds > 0 ? static_cast<double>(done) / seconds : 0.0);
                std::fflush(stderr);
                m_shown = true;
            }
            return true;
        };
    }

  private:
    using Clock = std::chrono::steady_clock;
    const char* m_what;
    bool m_on;
    bool m_shown = false;
    Clock::time_point m_start;
    Clock::time_point m_last;
};

// The options both commands share: --games A-B. False after a message.
bool TakeGames(Context& ctx, Args& args, const char* command, books::GameRange& games) {
    std::string text;
    std::string error;
    if (args.TakeValue("--games", text, error)) {
        const auto range = books::ParseGameRange(text);
        if (!range) {
            ctx.err << "pandrel-cli " << command << ": --games wants A-B, A, A- or -B (games from 1), not \""
                    << text << "\"\n";
            return false;
        }
        games = *range;
    } else if (!error.empty()) {
        ctx.err << "pandrel-cli " << command << ": " << error << "\n";
        return false;
    }
    return true;
}

// Reports a range that misses the book. True when some game lies in it.
bool RangeInBook(Context& ctx, const char* command, books::GameRange games) {
    const int64_t count = static_cast<int64_t>(ctx.program.book.GameIndex.size());
    if (books::ClampRange(games, count).first <= books::ClampRange(games, count).last) {
        return true;
    }
    ctx.err << "pandrel-cli " << command << ": no game in range: the book has " << count
            << (count == 1 ? " game" : " games") << "\n";
    return false;
}

int Finish(Context& ctx, const char* command, const ExportResult& result, int bookStatus) {
    ctx.out << "diagrams " << result.diagrams << "\n";
    for (const std::string& warning : result.warnings) {
        ctx.err << "pandrel-cli " << command << ": " << warning << "\n";
    }
    if (result.status == ExportStatus::kFailed) {
        ctx.err << "pandrel-cli " << command << ": " << result.error << "\n";
        return kFailure;
    }
    return bookStatus;
}

// With --notation, the book named in args becomes a copy in converted with
// its positions in the style's letters; false after a message.
bool ReadFairyBook(Context& ctx, Args& args, const char* command, const FairyOptions& fairy,
                   const QTemporaryDir& converted) {
    if (!fairy.read) {
        return true;
    }
    if (!converted.isValid()) {
        ctx.err << "pandrel-cli " << command << ": no folder for the converted book\n";
        return false;
    }
    const std::string copy =
        FairyBookCopy(ctx, command, fairy, args.words[0], converted.path().toStdString());
    if (copy.empty()) {
        return false;
    }
    args.words[0] = copy;
    return true;
}

const Register renderBook(
    "render-book",
    "BOOK -o DIR [--format png|svg|pdf|bmp] [--scale K] [--positions first|last|all] [--games A-B] "
    "[--notation ffen|yacpdb|popeye|auto] [--knight-s] [--captions]   one "
    "diagram per game (or position) in DIR, with index.csv; K multiplies every length of the style; prints "
    "\"diagrams N\"; --notation reads the book's positions (FEN and EPD lines, PGN FEN tags) in that "
    "notation; --captions puts each game's problem (authors, source, stipulation, count ...) around its "
    "diagram",
    [](Context& ctx, Args& args) {
        const char* command = "render-book";
        std::string error;
        std::string folder;
        if (!args.TakeValue("-o", folder, error)) {
            ctx.err << "pandrel-cli " << command << ": " << (error.empty() ? "missing -o DIR" : error)
                    << "\n";
            return kUsage;
        }
        books::render::ImageOptions options;
        options.folder = folder;
        options.captions = args.TakeFlag("--captions");
        std::string text;
        if (args.TakeValue("--format", text, error)) {
            const auto format = books::render::ParseImageFormat(text);
            if (!format) {
                ctx.err << "pandrel-cli " << command << ": unknown format \"" << text << "\"\n";
                return kUsage;
            }
            options.format = *format;
        }
        std::string scaleWord;
        if (args.TakeValue("--scale", scaleWord, error) && !ParseScale(scaleWord, options.scale)) {
            ctx.err << "pandrel-cli " << command << ": bad scale \"" << scaleWord
                    << "\" (a positive number, e.g. 0.5 or 2)\n";
            return kUsage;
        }
        if (args.TakeValue("--positions", text, error)) {
            const auto choice = books::ParsePositionChoice(text);
            if (!choice) {
                ctx.err << "pandrel-cli " << command << ": --positions is first, last or all, not \"" << text
                        << "\"\n";
                return kUsage;
            }
            options.positions = *choice;
        }
        if (!error.empty()) {
            ctx.err << "pandrel-cli " << command << ": " << error << "\n";
            return kUsage;
        }
        FairyOptions fairy;
        if (!TakeFairyOptions(ctx, args, command, false, fairy)) {
            return kUsage;
        }
        if (!TakeGames(ctx, args, command, options.games) || !ExpectWords(ctx, args, command, 1, 1)) {
            return kUsage;
        }
        QTemporaryDir converted;
        if (!ReadFairyBook(ctx, args, command, fairy, converted)) {
            return kFailure;
        }
        if (const auto reason = books::render::CheckScale(ctx.program.style, options.scale)) {
            ctx.err << "pandrel-cli " << command << ": bad scale \"" << scaleWord << "\": " << *reason
                    << "\n";
            return kUsage;
        }
        const auto gui = StartGui();
        const OpenedBook book(ctx, args.words[0], command);
        if (!book.usable()) {
            return kFailure;
        }
        if (!RangeInBook(ctx, command, options.games)) {
            return kFailure;
        }
        app::Program& program = ctx.program;
        books::render::ExportSource source{program.book, program.style, program.settings,
                                           StyleNames(program)};
        TerminalProgress progress("diagrams");
        const ExportResult result = books::render::ExportImages(source, options, progress.Fn());
        progress.Clear();
        return Finish(ctx, command, result, book.status());
    });

const Register sheet(
    "sheet",
    "BOOK -o FILE.pdf [--per-page 1|2|4|6|9|12|20] [--paper a4|letter] [--tags Event,White,Black] "
    "[--games A-B] [--notation ffen|yacpdb|popeye|auto] [--knight-s] [--captions] [--answers]   "
    "pages of diagrams with captions; prints \"diagrams N\"; --notation reads the book's positions "
    "(FEN and EPD lines, PGN FEN tags) in that notation; --captions puts each game's problem "
    "(authors, source, stipulation, count ...) around its diagram; --answers adds pages with the "
    "games' solutions after the diagrams",
    [](Context& ctx, Args& args) {
        const char* command = "sheet";
        std::string error;
        books::render::SheetOptions options;
        options.captions = args.TakeFlag("--captions");
        options.answers = args.TakeFlag("--answers");
        if (!args.TakeValue("-o", options.file, error)) {
            ctx.err << "pandrel-cli " << command << ": " << (error.empty() ? "missing -o FILE.pdf" : error)
                    << "\n";
            return kUsage;
        }
        std::string text;
        if (args.TakeValue("--per-page", text, error)) {
            const bool known =
                std::any_of(std::begin(books::kPerPageChoices), std::end(books::kPerPageChoices),
                            [&](int n) { return std::to_string(n) == text; });
            if (!known) {
                ctx.err << "pandrel-cli " << command << ": --per-page is 1, 2, 4, 6, 9, 12 or 20, not \""
                        << text << "\"\n";
                return kUsage;
            }
            options.perPage = std::stoi(text);
        }
        if (args.TakeValue("--paper", text, error)) {
            const auto paper = books::ParsePaper(text);
            if (!paper) {
                ctx.err << "pandrel-cli " << command << ": --paper is a4 or letter, not \"" << text << "\"\n";
                return kUsage;
            }
            options.paper = *paper;
        }
        if (args.TakeValue("--tags", text, error)) {
            options.tags = books::SplitTagList(text);
        }
        if (!error.empty()) {
            ctx.err << "pandrel-cli " << command << ": " << error << "\n";
            return kUsage;
        }
        FairyOptions fairy;
        if (!TakeFairyOptions(ctx, args, command, false, fairy)) {
            return kUsage;
        }
        if (!TakeGames(ctx, args, command, options.games) || !ExpectWords(ctx, args, command, 1, 1)) {
            return kUsage;
        }
        QTemporaryDir converted;
        if (!ReadFairyBook(ctx, args, command, fairy, converted)) {
            return kFailure;
        }
        const auto gui = StartGui();
        const OpenedBook book(ctx, args.words[0], command);
        if (!book.usable()) {
            return kFailure;
        }
        if (!RangeInBook(ctx, command, options.games)) {
            return kFailure;
        }
        app::Program& program = ctx.program;
        books::render::ExportSource source{program.book, program.style, program.settings,
                                           StyleNames(program)};
        TerminalProgress progress("diagrams");
        const ExportResult result = books::render::WriteSheet(source, options, progress.Fn());
        progress.Clear();
        return Finish(ctx, command, result, book.status());
    });

}  // namespace

}  // namespace cli
