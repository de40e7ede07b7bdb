// Books whose positions are written in a fairy notation: a copy in the
// program's own letters, for the book commands to read as any other.

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "app/cli/fairy_options.h"
#include "diagram/fairy_exchange.h"
#include "settings/style.h"

namespace cli {

namespace {

enum class BookKind { kLines, kPgn, kOther };

BookKind KindOf(const std::string& path) {
    const std::string ext = settings::Upper(std::filesystem::path(path).extension().string());
    if (ext == ".FEN" || ext == ".EPD") {
        return BookKind::kLines;
    }
    return ext == ".PGN" ? BookKind::kPgn : BookKind::kOther;
}

}  // namespace

std::string FairyBookCopy(Context& ctx, const char* command, const FairyOptions& fairy,
                          const std::string& path, const std::string& folder) {
    const BookKind kind = KindOf(path);
    if (kind == BookKind::kOther) {
        ctx.err << "pandrel-cli " << command << ": --notation reads FEN, EPD and PGN books\n";
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ctx.err << "pandrel-cli " << command << ": cannot read " << path << "\n";
        return {};
    }
    app::Program& program = ctx.program;
    const std::string base = DictionaryBase(program);
    settings::Style style = program.style;
    bool sized = false;
    std::ostringstream out;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        // Where the placement stands in the line: the first word of a FEN or
        // EPD line, the first word of a PGN FEN tag's value.
        size_t from = std::string::npos;
        if (kind == BookKind::kLines) {
            from = line.find_first_not_of(" \t\r");
        } else if (line.rfind("[FEN \"", 0) == 0) {
            from = 6;
        }
        const size_t end = from == std::string::npos ? from : line.find_first_of(" \t\r\"", from);
        if (from == std::string::npos || end == from) {
            out << line << "\n";
            continue;
        }
        const std::string word = line.substr(from, end == std::string::npos ? std::string::npos : end - from);
        const diagram::FairyImport read =
            diagram::ImportFairyText(word, fairy.notation, fairy.options, style, base);
        if (!read.ok()) {
            ctx.err << "pandrel-cli " << command << ": " << path << " line " << number << ": cannot read \""
                    << word << "\" as " << position::NotationName(read.notation) << ": " << read.error
                    << "\n";
            return {};
        }
        if (sized &&
            (read.style.BORDERHEIGHT != style.BORDERHEIGHT || read.style.BORDERWIDTH != style.BORDERWIDTH)) {
            ctx.err << "pandrel-cli " << command << ": " << path << " line " << number << ": a board of "
                    << read.style.BORDERHEIGHT << " x " << read.style.BORDERWIDTH << ", the book's is "
                    << style.BORDERHEIGHT << " x " << style.BORDERWIDTH << "\n";
            return {};
        }
        sized = true;
        style = read.style;
        out << line.substr(0, from) << read.placement << (end == std::string::npos ? "" : line.substr(end))
            << "\n";
    }
    const std::string copy =
        (std::filesystem::path(folder) / std::filesystem::path(path).filename()).string();
    std::ofstream file(copy, std::ios::binary | std::ios::trunc);
    file << out.str();
    file.close();
    if (!file) {
        ctx.err << "pandrel-cli " << command << ": cannot write the converted book\n";
        return {};
    }
    program.style = style;
    return copy;
}

}  // namespace cli
