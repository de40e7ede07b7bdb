#include "books/convert.h"

#include <cstdio>
#include <string>

#include "books/conversion.h"
#include "books/position_index.h"

namespace books {

using detail::Conversion;
using detail::PrepareLine;

BookFormat FormatOf(std::string_view bookFile) {
    const std::string_view ext = bookFile.size() >= 4 ? bookFile.substr(bookFile.size() - 4) : bookFile;
    const std::string upper = settings::Upper(ext);
    if (upper == ".PBM") {
        return BookFormat::kPBM;
    }
    if (upper == ".EPD") {
        return BookFormat::kEPD;
    }
    if (upper == ".PGN") {
        return BookFormat::kPGN;
    }
    return BookFormat::kFEN;
}

std::string ProgressText(int64_t games) {
    return std::to_string(games) + " games";
}

std::string WorkFilePath(const std::string& appDir, const std::string& workName) {
    return appDir + workName + ".tmp";
}

LoadResult LoadFEN(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 100);
    conv.StartWithGameOne();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        std::string_view raw;
        std::string line;
        bool entrySeen = false;
        while (reader.Next(raw)) {
            PrepareLine(raw, line);
            const char c = line[0];
            if (c == ' ' || c == ';' || c == '{' || c == '%' || c == '*') {
                continue;
            }
            if (c == '[') {
                if (entrySeen) {
                    conv.NewGame();
                    entrySeen = false;
                }
                if (!conv.Put(kTag, line)) {
                    return;
                }
            } else {
                if (!conv.Put(kEntry, line)) {
                    return;
                }
                entrySeen = true;
            }
        }
        if (!EndOfBook(conv, reader)) {
            return;
        }
        if (!entrySeen && book.NGames > 1) {
            conv.DropLastGame();
        }
    });
}

LoadResult LoadEPD(Book& book, const ConvertInput& in) {
    Conversion conv(book, in, 100);
    book.NGames = 0;
    book.GameIndex.clear();
    return ConvertLines(conv, book.BookFile, [&](LineReader& reader) {
        std::string_view raw;
        std::string line;
        std::string tag;
        while (reader.Next(raw)) {
            PrepareLine(raw, line);
            const char c = line[0];
            if (c == ' ' || c == ';' || c == '{' || c == '%') {
                continue;
            }
            conv.NewGame();
            // Operations follow the fourth field; the search for the fourth
            // blank starts after the first character.
            size_t p = 0;
            bool fourth = true;
            for (int k = 0; k < 4; ++k) {
                p = line.find(' ', p + 1);
                if (p == std::string::npos) {
                    fourth = false;
                    break;
                }
            }
            if (fourth) {
                size_t from = p + 1;
                while (from < line.size()) {
                    const size_t semi = line.find(';', from);
                    const size_t end = semi == std::string::npos ? line.size() : semi;
                    const std::string_view op =
                        settings::Trim(std::string_view(line).substr(from, end - from));
                    if (op.empty()) {
                        break;
                    }
                    tag.assign("[");
                    tag.append(op);
                    tag.push_back(']');
                    if (!conv.Put(kTag, tag)) {
                        return;
                    }
                    if (semi == std::string::npos) {
                        break;
                    }
                    from = semi + 1;
                }
            }
            if (!conv.Put(kEntry, line)) {
                return;
            }
        }
        EndOfBook(conv, reader);
    });
}

std::string IncompleteBookText(const std::string& bookFile, const LoadResult& result) {
    return "Only " + std::to_string(result.games) + (result.games == 1 ? " game" : " games") + " of " +
           bookFile + " could be read (" + result.reason + ").";
}

namespace {

LoadResult Convert(Book& book, const ConvertInput& in) {
    switch (FormatOf(book.BookFile)) {
        case BookFormat::kPBM:
            return LoadPBM(book, in);
        case BookFormat::kEPD:
            return LoadEPD(book, in);
        case BookFormat::kPGN:
            return LoadPGN(book, in);
        case BookFormat::kFEN:
            break;
    }
    return LoadFEN(book, in);
}

}  // namespace

LoadResult LoadBook(Book& book, const ConvertInput& in) {
    book.CloseWorkFile();
    const std::string indexPath = IndexPathFor(in.workPath);
    // An index of the work file's earlier contents must never describe the
    // new ones, even when this one cannot be written.
    std::remove(indexPath.c_str());
    const position::BoardShape shape = in.style.Shape();
    IndexBuilder builder(shape, indexPath);
    ConvertInput withIndex{in.workPath, in.style, in.vet, in.progress, &builder, in.workers};
    LoadResult result = Convert(book, withIndex);
    IndexKey key;
    // A work file that had to take another name (its own was found taken)
    // gets its index when it is first searched.
    if (book.IsOpen() && book.WorkPath() == in.workPath && CurrentKey(book, shape, key)) {
        // Without an index the searches read the work file instead.
        builder.Write(book, key);
    }
    return result;
}

}  // namespace books
