// latex and popeye-input: problems as they are published, from a book's
// games or from a position given with --fen, with the problem record taken
// from the games' tags and from options.

#include <unistd.h>

#include <QTemporaryDir>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/fairy_options.h"
#include "app/cli/record_options.h"
#include "books/book_export.h"
#include "books/convert.h"
#include "diagram/fairy_exchange.h"
#include "diagram/latex_writer.h"
#include "engines/popeye_file.h"
#include "position/piece_lists.h"
#include "position/problem_record.h"

namespace cli {

namespace {

// One problem: its record, and its board in the program block's style.
struct Problem {
    position::ProblemRecord record;
    position::Vet vet;
};

// The record of a game: its tags, then the options over them.
position::ProblemRecord Merge(position::ProblemRecord fromTags, const RecordOptions& options) {
    const position::ProblemRecord& o = options.record;
    if (options.authors) {
        fromTags.authors = o.authors;
    }
    for (auto field :
         {&position::ProblemRecord::source, &position::ProblemRecord::date, &position::ProblemRecord::award,
          &position::ProblemRecord::stipulation, &position::ProblemRecord::conditions,
          &position::ProblemRecord::twins, &position::ProblemRecord::solution,
          &position::ProblemRecord::remarks, &position::ProblemRecord::count}) {
        if (!(o.*field).empty()) {
            fromTags.*field = o.*field;
        }
    }
    if (!o.legend.empty()) {
        fromTags.legend = o.legend;
    }
    return fromTags;
}

// The problems a command works on: the --fen position, or the games of the
// book (--games A-B), each at its first position. False after a message;
// status then holds the exit status.
bool ReadProblems(Context& ctx, Args& args, const char* command, std::vector<Problem>& problems,
                  int& status) {
    status = kUsage;
    RecordOptions options;
    if (!TakeRecordOptions(ctx, args, command, options)) {
        return false;
    }
    FairyOptions fairy;
    if (!TakeFairyOptions(ctx, args, command, false, fairy)) {
        return false;
    }
    std::string error;
    std::string fen;
    const bool fromFen = args.TakeValue("--fen", fen, error);
    books::GameRange games;
    std::string gamesText;
    const bool ranged = args.TakeValue("--games", gamesText, error);
    if (!error.empty()) {
        ctx.err << "pandrel-cli " << command << ": " << error << "\n";
        return false;
    }
    if (ranged) {
        const auto range = books::ParseGameRange(gamesText);
        if (!range) {
            ctx.err << "pandrel-cli " << command << ": --games wants A-B, A, A- or -B (games from 1), not \""
                    << gamesText << "\"\n";
            return false;
        }
        games = *range;
    }
    if (!ExpectWords(ctx, args, command, fromFen ? 0 : 1, fromFen ? 0 : 1)) {
        return false;
    }
    app::Program& program = ctx.program;
    if (fromFen) {
        if (ranged) {
            ctx.err << "pandrel-cli " << command << ": --games needs a book, not --fen\n";
            return false;
        }
        std::string placement = fen;
        if (fairy.read) {
            position::Notation read{};
            bool styleChanged = false;
            if (!ImportText(ctx, command, fairy, fen, placement, read, styleChanged)) {
                status = kFailure;
                return false;
            }
        }
        Problem p;
        p.record = options.record;
        position::ParseFEN(p.vet, placement, program.Shape());
        problems.push_back(std::move(p));
        status = kOk;
        return true;
    }
    status = kFailure;
    std::string bookPath = args.words[0];
    QTemporaryDir converted;
    if (fairy.read) {
        if (!converted.isValid()) {
            ctx.err << "pandrel-cli " << command << ": no folder for the converted book\n";
            return false;
        }
        bookPath = FairyBookCopy(ctx, command, fairy, bookPath, converted.path().toStdString());
        if (bookPath.empty()) {
            return false;
        }
    }
    program.book.BookFile = bookPath;
    const books::ConvertInput in{
        books::WorkFilePath(program.settings.AppDir, program.WorkName), program.style, program.vet, {}};
    const books::LoadResult loaded = books::LoadBook(program.book, in);
    struct WorkFileGone {
        books::Book& book;
        ~WorkFileGone() {
            const std::string path = book.WorkPath();
            book.CloseWorkFile();
            if (!path.empty()) {
                ::unlink(path.c_str());
            }
        }
    } gone{program.book};
    if (loaded.status == books::LoadStatus::kNoWorkFile || loaded.status == books::LoadStatus::kNoBookFile) {
        ctx.err << "pandrel-cli " << command << ": " << loaded.reason << "\n";
        return false;
    }
    if (loaded.status == books::LoadStatus::kStopped) {
        books::DropUnfinishedGame(program.book);
        ctx.err << "pandrel-cli " << command << ": " << args.words[0]
                << ": conversion stopped: " << loaded.reason << "\n";
    }
    const int64_t count = static_cast<int64_t>(program.book.GameIndex.size());
    const books::GameRange range = books::ClampRange(games, count);
    if (range.first > range.last) {
        ctx.err << "pandrel-cli " << command << ": no game in range: the book has " << count
                << (count == 1 ? " game" : " games") << "\n";
        return false;
    }
    const position::BoardShape shape = program.Shape();
    for (int64_t n = range.first; n <= range.last; ++n) {
        const books::GameDiagrams game =
            books::ReadGameDiagrams(program.book, n, books::PositionChoice::kFirst,
                                    [&shape](const std::vector<std::string>&) { return shape; });
        std::vector<position::RecordTag> tags;
        for (const books::Tag& t : game.tags) {
            tags.emplace_back(t.name, t.value);
        }
        Problem p;
        p.record = Merge(position::RecordFromTags(tags), options);
        position::ParseFEN(p.vet, game.positions.empty() ? "" : game.positions.front(), shape);
        problems.push_back(std::move(p));
    }
    status = loaded.status == books::LoadStatus::kStopped ? kFailure : kOk;
    return true;
}

// Says on stderr where a count the record names disagrees with the board.
void CheckCount(Context& ctx, const char* command, const Problem& p, size_t number) {
    const std::string warning =
        position::CountWarning(p.record, position::CountMen(p.vet, diagram::FairyStyleOf(ctx.program.style)));
    if (!warning.empty()) {
        ctx.err << "pandrel-cli " << command << ": problem " << number << ": " << warning << "\n";
    }
}

bool WriteOut(Context& ctx, const char* command, const std::string& path, const std::string& text) {
    std::string error;
    if (!books::WriteCompleteFile(path, text, error)) {
        ctx.err << "pandrel-cli " << command << ": " << error << "\n";
        return false;
    }
    return true;
}

bool TakeOutput(Context& ctx, Args& args, const char* command, const char* what, std::string& path) {
    std::string error;
    if (!args.TakeValue("-o", path, error)) {
        ctx.err << "pandrel-cli " << command << ": "
                << (error.empty() ? std::string("missing -o ") + what : error) << "\n";
        return false;
    }
    return true;
}

const std::string kRecordUsage =
    std::string(kRecordOptionsUsage) + " [--games A-B] [--notation ffen|yacpdb|popeye|auto] [--knight-s]";

const Register latex(
    "latex",
    kRecordUsage +
        " BOOK|--fen TEXT -o FILE.tex [--fragment]   the problems as a LaTeX document for the diagram "
        "package (latex, dvips, ps2pdf), or with --fragment only their diagram environments; the record "
        "comes from the games' tags and the options; what the package cannot draw is said on stderr",
    [](Context& ctx, Args& args) {
        const char* command = "latex";
        std::string path;
        if (!TakeOutput(ctx, args, command, "FILE.tex", path)) {
            return kUsage;
        }
        const bool fragment = args.TakeFlag("--fragment");
        std::vector<Problem> problems;
        int status = kOk;
        if (!ReadProblems(ctx, args, command, problems, status)) {
            return status;
        }
        const std::string base = DictionaryBase(ctx.program);
        const position::FairyStyle style = diagram::FairyStyleOf(ctx.program.style);
        std::vector<diagram::LatexProblem> out;
        for (size_t i = 0; i < problems.size(); ++i) {
            CheckCount(ctx, command, problems[i], i + 1);
            out.push_back({problems[i].record, position::PublishedBoard(problems[i].vet, style, base)});
        }
        const diagram::LatexDocument doc = diagram::WriteLatex(out, fragment);
        for (const std::string& note : doc.notes) {
            ctx.err << "pandrel-cli " << command << ": not drawn: " << note << "\n";
        }
        if (!WriteOut(ctx, command, path, doc.text)) {
            return kFailure;
        }
        ctx.out << "problems " << problems.size() << "\n";
        return status;
    });

const Register popeyeInput(
    "popeye-input",
    kRecordUsage +
        " [--option TEXT] BOOK|--fen TEXT -o FILE.inp   the problems as a Popeye input file (from "
        "BeginProblem to EndProblem, NextProblem between two): author, origin and title lines, "
        "stipulation, conditions, options, the men through the Popeye dictionary in force, twins",
    [](Context& ctx, Args& args) {
        const char* command = "popeye-input";
        std::string path;
        if (!TakeOutput(ctx, args, command, "FILE.inp", path)) {
            return kUsage;
        }
        std::string error;
        engines::PopeyeFieldTexts window;
        args.TakeValue("--option", window[engines::kOptions], error);
        if (!error.empty()) {
            ctx.err << "pandrel-cli " << command << ": " << error << "\n";
            return kUsage;
        }
        std::vector<Problem> problems;
        int status = kOk;
        if (!ReadProblems(ctx, args, command, problems, status)) {
            return status;
        }
        const std::string base = DictionaryBase(ctx.program);
        const std::string dictionary = (base.empty() ? "&&" : base) + ctx.program.style.PYDICTIONARY;
        const position::NotationStyle notation = ctx.program.style.Notation();
        std::string text;
        for (size_t i = 0; i < problems.size(); ++i) {
            const Problem& p = problems[i];
            CheckCount(ctx, command, p, i + 1);
            const position::PieceLists lists = position::FEN2ALG(p.vet, notation, dictionary);
            const engines::PopeyeFile file =
                engines::WritePopeyeFile(p.record, engines::ProblemFields(p.record, lists, window));
            if (!file.ok()) {
                ctx.err << "pandrel-cli " << command << ": problem " << i + 1 << ": " << file.error << "\n";
                return kFailure;
            }
            for (const std::string& note : file.notes) {
                ctx.err << "pandrel-cli " << command << ": problem " << i + 1 << ": " << note << "\n";
            }
            // The solver reads several problems of one file when each but the
            // last ends in NextProblem instead.
            std::string one = file.text;
            if (i > 0) {
                one.erase(0, one.find("\r\n") + 2);
            }
            if (i + 1 < problems.size()) {
                const size_t end = one.rfind("EndProblem\r\n");
                one.replace(end, 12, "NextProblem\r\n");
            }
            text += one;
        }
        if (!WriteOut(ctx, command, path, text)) {
            return kFailure;
        }
        ctx.out << "problems " << problems.size() << "\n";
        return status;
    });

}  // namespace

}  // namespace cli
