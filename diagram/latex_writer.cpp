#include "diagram/latex_writer.h"

#include <algorithm>
#include <utility>

namespace diagram {

namespace {

using position::FairyBoard;
using position::FairyColor;
using position::FairySquare;
using position::ProblemRecord;
using position::SquareKind;

// The package's letters, its German defaults: colours w s n; king, queen,
// rook, bishop, knight, pawn K D T L S B; turns R U L.
char ColorLetter(FairyColor color) {
    switch (color) {
        case FairyColor::kWhite:
            return 'w';
        case FairyColor::kBlack:
            return 's';
        case FairyColor::kNeutral:
            return 'n';
    }
    return 'w';
}

const char* ColorWord(FairyColor color) {
    switch (color) {
        case FairyColor::kWhite:
            return "white";
        case FairyColor::kBlack:
            return "black";
        case FairyColor::kNeutral:
            return "neutral";
    }
    return "white";
}

// The package's sign for a man: a letter and its turn, or "" when it has
// none. Fairy men get the signs problemists print them with: the
// grasshopper a queen upside down, the nightrider a knight upside down.
std::string ManSign(const FairySquare& sq) {
    static const std::pair<const char*, char> kLetters[] = {{"K", 'K'}, {"Q", 'D'}, {"R", 'T'},
                                                            {"B", 'L'}, {"S", 'S'}, {"P", 'B'}};
    for (const auto& [code, letter] : kLetters) {
        if (sq.man == code) {
            static const char* const kTurns[] = {"", "R", "U", "L"};
            return std::string(1, letter) + kTurns[std::clamp(sq.turns, 0, 3)];
        }
    }
    if (sq.man == "G") {
        return "DU";
    }
    if (sq.man == "N") {
        return "SU";
    }
    if (sq.man == "EQ") {
        return "E";
    }
    return "";
}

// "e4", "a{12}"; "" past the columns the package letters.
std::string Square(const FairyBoard& board, int row, int col) {
    if (col >= 26) {
        return "";
    }
    const int rank = board.rows - row;
    std::string name(1, static_cast<char>('a' + col));
    return name + (rank > 9 ? "{" + std::to_string(rank) + "}" : std::to_string(rank));
}

bool HasCyrillic(std::string_view text) {
    // UTF-8 lead bytes 0xD0 to 0xD3 start the Cyrillic block.
    return std::any_of(text.begin(), text.end(), [](char ch) {
        const auto b = static_cast<unsigned char>(ch);
        return b >= 0xD0 && b <= 0xD3;
    });
}

std::string Trimmed(std::string_view text) {
    const size_t a = text.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) {
        return "";
    }
    const size_t b = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(a, b - a + 1));
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

void Command(std::string& out, const char* name, std::string_view value) {
    const std::string v = Trimmed(value);
    if (!v.empty()) {
        out += "\\";
        out += name;
        out += "{" + LatexEscape(v) + "}\n";
    }
}

// The date as the package's \year and \month where it reads as "1923" or
// "1923.05" (a game book's "1923.05.??"); otherwise it stays with the
// source.
void WriteDate(std::string& out, const ProblemRecord& r, std::string& source) {
    const std::string date = Trimmed(r.date);
    if (date.empty()) {
        return;
    }
    const std::string year = date.substr(0, 4);
    const bool yearOnly = date.size() == 4 || date.substr(4).find_first_not_of(".?") == std::string::npos;
    const bool withMonth =
        date.size() >= 7 && date[4] == '.' && AllDigits(date.substr(5, 2)) &&
        (date.size() == 7 || date.substr(7).find_first_not_of(".?0123456789") == std::string::npos);
    if (AllDigits(year) && (yearOnly || withMonth)) {
        if (withMonth) {
            out += "\\month{" + std::to_string(std::stoi(date.substr(5, 2))) + "}\n";
        }
        out += "\\year{" + year + "}\n";
        return;
    }
    source += source.empty() ? date : ", " + date;
}

void WriteProblem(std::string& out, const position::ProblemRecord& r, const FairyBoard& board, int number,
                  std::vector<std::string>& notes) {
    std::vector<std::string> own;
    std::string size;
    if (board.rows != 8 || board.cols != 8) {
        size = "[" + std::to_string(board.cols) + "x" + std::to_string(board.rows) + "]";
    }
    if (board.cols > 26) {
        own.push_back("the package letters only 26 columns: the men beyond column z are left out");
    }
    const LatexBoard men = LatexPieces(board);
    own.insert(own.end(), men.notes.begin(), men.notes.end());
    for (const std::string& note : own) {
        out += "% Not drawn: " + note + "\n";
        notes.push_back("problem " + std::to_string(number) + ": " + note);
    }
    out += "\\begin{diagram}" + size + "\n";
    if (!r.authors.empty()) {
        std::string names;
        for (const std::string& a : r.authors) {
            const std::string name = LatexName(a);
            if (!name.empty()) {
                names += (names.empty() ? "" : "; ") + name;
            }
        }
        if (!names.empty()) {
            out += "\\author{" + names + "}\n";
        }
    }
    std::string source = Trimmed(r.source);
    std::string date;
    WriteDate(date, r, source);
    Command(out, "source", source);
    out += date;
    Command(out, "award", r.award);
    // The package refuses an empty \pieces{}: an empty board has none.
    if (!men.pieces.empty()) {
        out += "\\pieces{" + men.pieces + "}\n";
    }
    if (!men.fieldText.empty()) {
        out += "\\fieldtext{" + men.fieldText + "}\n";
    }
    Command(out, "stipulation", r.stipulation);
    Command(out, "condition", r.conditions);
    Command(out, "twins", r.twins);
    std::string remark;
    for (const position::LegendEntry& e : r.legend) {
        remark += (remark.empty() ? "" : "; ") + e.letter + " = " + e.name;
    }
    if (!Trimmed(r.remarks).empty()) {
        remark += (remark.empty() ? "" : "; ") + Trimmed(r.remarks);
    }
    Command(out, "remark", remark);
    Command(out, "solution", r.solution);
    out += "\\end{diagram}\n";
}

}  // namespace

std::string LatexEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
            case '\\':
                out += "\\textbackslash{}";
                break;
            case '{':
            case '}':
            case '$':
            case '&':
            case '#':
            case '_':
            case '%':
                out += '\\';
                out += ch;
                break;
            case '^':
                out += "\\textasciicircum{}";
                break;
            case '~':
                out += "\\textasciitilde{}";
                break;
            case '\r':
            case '\n':
            case '\t':
                out += ' ';
                break;
            default:
                out += ch;
        }
    }
    return out;
}

std::string LatexName(std::string_view name) {
    std::string n = Trimmed(name);
    // ";" parts authors and "/" an abbreviation in the package's names.
    std::replace(n.begin(), n.end(), ';', ',');
    std::replace(n.begin(), n.end(), '/', '-');
    if (n.empty()) {
        return "";
    }
    const size_t comma = n.find(',');
    if (comma != std::string::npos) {
        // Only the first comma parts surname from given names.
        std::string given = n.substr(comma + 1);
        std::replace(given.begin(), given.end(), ',', ' ');
        return LatexEscape(Trimmed(n.substr(0, comma))) + ", " + LatexEscape(Trimmed(given));
    }
    const size_t blank = n.find_last_of(' ');
    if (blank == std::string::npos) {
        return LatexEscape(n) + ", ";
    }
    return LatexEscape(Trimmed(n.substr(blank + 1))) + ", " + LatexEscape(Trimmed(n.substr(0, blank)));
}

LatexBoard LatexPieces(const FairyBoard& board) {
    LatexBoard out;
    // Groups of one colour and sign with their squares, White's first.
    std::vector<std::pair<std::string, std::string>> groups[3];
    for (int row = 0; row < board.rows; ++row) {
        for (int col = 0; col < board.cols; ++col) {
            const FairySquare& sq = board.at(row, col);
            if (sq.kind == SquareKind::kEmpty) {
                continue;
            }
            const std::string square = Square(board, row, col);
            const std::string where = position::SquareName(board, row, col);
            if (square.empty()) {
                continue;
            }
            std::string sign;
            if (sq.kind == SquareKind::kMan) {
                sign = ManSign(sq);
                if (sign.empty()) {
                    // Shown by its code as text on its square.
                    out.fieldText +=
                        (out.fieldText.empty() ? "{" : ", {") + LatexEscape(sq.man) + "}" + square;
                    out.notes.push_back(std::string(ColorWord(sq.color)) + " " + sq.man + " on " + where +
                                        " has no sign in the package: written as text");
                    continue;
                }
            } else if (sq.kind == SquareKind::kMarker) {
                if (sq.marker != position::MarkerKind::kCircle) {
                    out.notes.push_back(std::string(position::MarkerName(sq.marker)) + " on " + where);
                    continue;
                }
                sign = "C";
            } else {
                out.fieldText += (out.fieldText.empty() ? "{" : ", {") + LatexEscape(sq.text) + "}" + square;
                continue;
            }
            auto& list = groups[static_cast<int>(sq.color)];
            const std::string key = ColorLetter(sq.color) + sign;
            auto it =
                std::find_if(list.begin(), list.end(), [&key](const auto& g) { return g.first == key; });
            if (it == list.end()) {
                list.emplace_back(key, square);
            } else {
                it->second += square;
            }
        }
    }
    for (const auto& list : groups) {
        for (const auto& [key, squares] : list) {
            if (!out.pieces.empty()) {
                out.pieces += ", ";
            }
            out.pieces += key;
            out.pieces += squares;
        }
    }
    return out;
}

LatexDocument WriteLatex(const std::vector<LatexProblem>& problems, bool fragment) {
    LatexDocument doc;
    std::string body;
    bool cyrillic = false;
    bool solutions = false;
    int number = 0;
    for (const LatexProblem& p : problems) {
        ++number;
        const ProblemRecord& r = p.record;
        for (const std::string* f : {&r.source, &r.date, &r.award, &r.stipulation, &r.conditions, &r.twins,
                                     &r.solution, &r.remarks}) {
            cyrillic = cyrillic || HasCyrillic(*f);
        }
        for (const std::string& a : r.authors) {
            cyrillic = cyrillic || HasCyrillic(a);
        }
        for (const position::LegendEntry& e : r.legend) {
            cyrillic = cyrillic || HasCyrillic(e.letter) || HasCyrillic(e.name);
        }
        solutions = solutions || !Trimmed(r.solution).empty();
        WriteProblem(body, r, p.board, number, doc.notes);
        body += fragment ? "\n" : "\\hfill\n";
    }
    if (fragment) {
        doc.text = "% Problems written by Pandrel for the diagram package\n" + body;
        return doc;
    }
    doc.text =
        "% Written by Pandrel: latex, dvips and ps2pdf make the PDF (the package draws with PSTricks)\n"
        "\\documentclass[a4paper]{article}\n"
        "\\usepackage[utf8]{inputenc}\n";
    // Cyrillic letters exist in the T2A encoding only; it comes last so that
    // it is the one in force.
    doc.text += cyrillic ? "\\usepackage[T1,T2A]{fontenc}\n" : "\\usepackage[T1]{fontenc}\n";
    doc.text += "\\usepackage{diagram}\n\\begin{document}\n\\noindent\n" + body;
    if (solutions) {
        doc.text += "\n\\bigskip\n\\putsol\n";
    }
    doc.text += "\\end{document}\n";
    return doc;
}

}  // namespace diagram
