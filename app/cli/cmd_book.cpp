// book and search: converting a book file as opening it does, and searching
// the converted book as the search window does.

#include <unistd.h>

#include <array>
#include <cstdio>
#include <ostream>

#include "app/cli/cli.h"
#include "books/convert.h"
#include "books/position_index.h"
#include "books/search.h"
#include "platform/safe_files.h"
#include "settings/style.h"

namespace cli {

namespace {

// A book read from standard input is first kept in a file of this copy's
// own, since the converters read their book more than once and choose their
// form by the extension.
struct StdinBook {
    std::string path;
    ~StdinBook() {
        if (!path.empty()) {
            std::remove(path.c_str());
        }
    }
};

// The form of a book on standard input: --format, or PGN when its first
// non-blank character opens a tag, FEN otherwise.
bool StdinFormat(const std::string& format, const std::string& text, std::string& ext) {
    if (format.empty()) {
        const size_t first = text.find_first_not_of(" \t\r\n");
        ext = first != std::string::npos && text[first] == '[' ? "pgn" : "fen";
        return true;
    }
    for (const char* known : {"pgn", "epd", "fen", "pbm"}) {
        if (settings::Upper(format) == settings::Upper(known)) {
            ext = known;
            return true;
        }
    }
    return false;
}

int ReadStdinBook(Context& ctx, const std::string& format, StdinBook& book, std::string& file) {
    std::string text;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
        text.append(buffer, n);
    }
    if (std::ferror(stdin)) {
        ctx.err << "pandrel-cli: cannot read standard input\n";
        return kFailure;
    }
    std::string ext;
    if (!StdinFormat(format, text, ext)) {
        ctx.err << "pandrel-cli: unknown book format \"" << format << "\" (pgn, epd, fen, pbm)\n";
        return kUsage;
    }
    // A new file of this copy's own: a file or link found at the name is
    // never written through; another name of the pattern is taken instead.
    const std::string wanted = ctx.program.settings.AppDir + ctx.program.WorkName + "s." + ext;
    const platform::NewFile created = platform::CreateUnderFreeName(
        [&wanted](int attempt) { return platform::OtherNumber(wanted, attempt); });
    if (created) {
        book.path = created.path;
    }
    const bool written = created && platform::WriteAll(created.fd, text);
    if (!created || ::close(created.fd) != 0 || !written) {
        ctx.err << "pandrel-cli: cannot write " << wanted << "\n";
        return kFailure;
    }
    file = book.path;
    return kOk;
}

// The book named on the command line, or standard input for "-"; --format
// only goes with the latter.
int BookArgument(Context& ctx, Args& args, const char* name, StdinBook& stdinBook, std::string& file) {
    std::string error;
    std::string format;
    const bool hasFormat = args.TakeValue("--format", format, error);
    if (!error.empty()) {
        ctx.err << "pandrel-cli " << name << ": " << error << "\n";
        return kUsage;
    }
    if (!ExpectWords(ctx, args, name, 1, 1)) {
        return kUsage;
    }
    file = args.words[0];
    if (file != "-") {
        if (hasFormat) {
            ctx.err << "pandrel-cli " << name << ": --format is for a book on standard input (-)\n";
            return kUsage;
        }
        return kOk;
    }
    return ReadStdinBook(ctx, format, stdinBook, file);
}

// Converts the book file into this copy's work file. Returns the exit
// status: kFailure when nothing could be converted or the conversion stopped
// early (a full disk, a damaged file), since the book is then incomplete.
int Convert(Context& ctx, const std::string& file, bool* converted = nullptr) {
    app::Program& program = ctx.program;
    program.book.BookFile = file;
    const books::ConvertInput in{
        books::WorkFilePath(program.settings.AppDir, program.WorkName), program.style, program.vet, {}};
    const books::LoadResult r = books::LoadBook(program.book, in);
    switch (r.status) {
        case books::LoadStatus::kDone:
            if (converted != nullptr) {
                *converted = true;
            }
            return kOk;
        case books::LoadStatus::kStopped:
            if (converted != nullptr) {
                *converted = true;  // what was converted still counts
            }
            if (r.ioFailure) {
                // The counts printed after this are of a part of the book only.
                ctx.err << "pandrel-cli: " << books::IncompleteBookText(file, r) << "\n";
                return kFailure;
            }
            ctx.err << "pandrel-cli: conversion stopped: " << r.reason << "\n";
            return kFailure;
        case books::LoadStatus::kNoWorkFile:
        case books::LoadStatus::kNoBookFile:
            ctx.err << "pandrel-cli: " << r.reason << "\n";
            return kFailure;
    }
    return kFailure;
}

// The work file goes when the command is done, as at the program's end.
void RemoveWorkFile(app::Program& program) {
    const std::string path = program.book.WorkPath();
    program.book.CloseWorkFile();
    books::RemoveWorkFiles(path);
}

void PrintRecords(Context& ctx) {
    const books::Book& book = ctx.program.book;
    const int64_t count = book.RecordsOnFile();
    std::string record;
    for (int64_t n = 1; n <= count; ++n) {
        if (!book.ReadRecord(n, record)) {
            break;
        }
        const size_t end = record.find_last_not_of(' ');
        ctx.out.write(record.data(), static_cast<std::streamsize>(end == std::string::npos ? 0 : end + 1));
        ctx.out << '\n';
    }
}

const Register book("book",
                    "[--records] [--format EXT] FILE   converts FILE (- for standard input) as Open Book "
                    "does; prints \"games N records M\"",
                    [](Context& ctx, Args& args) {
                        const bool records = args.TakeFlag("--records");
                        StdinBook stdinBook;
                        std::string file;
                        if (const int status = BookArgument(ctx, args, "book", stdinBook, file);
                            status != kOk) {
                            return status;
                        }
                        bool converted = false;
                        const int status = Convert(ctx, file, &converted);
                        if (converted) {
                            if (records) {
                                PrintRecords(ctx);
                            }
                            ctx.out << "games " << ctx.program.book.NGames << " records "
                                    << ctx.program.book.NRecords << "\n";
                        }
                        RemoveWorkFile(ctx.program);
                        return status;
                    });

const Register search(
    "search",
    "[--format EXT] FILE [--words T] [--white T] [--black T] [--global T] [--notations T]   prints the games "
    "found (FILE - for standard input)",
    [](Context& ctx, Args& args) {
        static const std::array<const char*, 5> kOptions = {"--words", "--white", "--black", "--global",
                                                            "--notations"};
        std::array<std::string, 5> boxes;
        for (size_t k = 0; k < kOptions.size(); ++k) {
            std::string error;
            args.TakeValue(kOptions[k], boxes[k], error);
            if (!error.empty()) {
                ctx.err << "pandrel-cli search: " << error << "\n";
                return kUsage;
            }
        }
        StdinBook stdinBook;
        std::string file;
        if (const int status = BookArgument(ctx, args, "search", stdinBook, file); status != kOk) {
            return status;
        }
        if (const int status = Convert(ctx, file); status != kOk) {
            RemoveWorkFile(ctx.program);
            return status;
        }
        app::Program& program = ctx.program;
        program.book.criteria = books::ParseCriteria(boxes, program.Shape());
        const books::SearchResult found = books::Search(program.book, program.book.criteria);
        RemoveWorkFile(program);
        if (found.outcome == books::SearchOutcome::kNotFound) {
            ctx.err << "Game not found!\n";
            return kFailure;
        }
        for (const int64_t n : found.positions) {
            ctx.out << n << "\n";
        }
        return kOk;
    });

}  // namespace

}  // namespace cli
