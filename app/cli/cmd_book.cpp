// book and search: converting a book file as opening it does, and searching
// the converted book as the search window does.

#include <unistd.h>

#include <array>
#include <ostream>

#include "app/cli/cli.h"
#include "books/convert.h"
#include "books/search.h"

namespace cli {

namespace {

// Converts the book file into this copy's work file. Returns the exit
// status so far: kFailure when nothing could be converted.
int Convert(Context& ctx, const std::string& file) {
    app::Program& program = ctx.program;
    program.book.BookFile = file;
    const books::ConvertInput in{
        books::WorkFilePath(program.settings.AppDir, program.WorkName), program.style, program.vet, {}};
    const books::LoadResult r = books::LoadBook(program.book, in);
    switch (r.status) {
        case books::LoadStatus::kDone:
            return kOk;
        case books::LoadStatus::kStopped:
            if (r.ioFailure) {
                // The counts printed after this are of a part of the book only.
                ctx.err << "pandrel-cli: " << books::IncompleteBookText(file, r) << "\n";
                return kFailure;
            }
            ctx.err << "pandrel-cli: conversion stopped: " << r.reason << "\n";
            return kOk;
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
    if (!path.empty()) {
        ::unlink(path.c_str());
    }
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
                    "[--records] FILE   converts FILE as Open Book does; prints \"games N records M\"",
                    [](Context& ctx, Args& args) {
                        const bool records = args.TakeFlag("--records");
                        if (!ExpectWords(ctx, args, "book", 1, 1)) {
                            return kUsage;
                        }
                        const int status = Convert(ctx, args.words[0]);
                        if (records) {
                            PrintRecords(ctx);
                        }
                        ctx.out << "games " << ctx.program.book.NGames << " records "
                                << ctx.program.book.NRecords << "\n";
                        RemoveWorkFile(ctx.program);
                        return status;
                    });

const Register search(
    "search",
    "FILE [--words T] [--white T] [--black T] [--global T] [--notations T]   prints the games found",
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
        if (!ExpectWords(ctx, args, "search", 1, 1)) {
            return kUsage;
        }
        if (const int status = Convert(ctx, args.words[0]); status != kOk) {
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
