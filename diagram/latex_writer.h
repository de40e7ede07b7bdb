#pragma once
// Problems as LaTeX for the `diagram` package of chess-problem-diagrams:
// one diagram environment per problem, the men in the package's notation,
// everything else of the problem record in its commands.

#include <string>
#include <string_view>
#include <vector>

#include "position/fairy_board.h"
#include "position/problem_record.h"

namespace diagram {

/// One problem to write: what is published with it and its board.
struct LatexProblem {
    position::ProblemRecord record;
    position::FairyBoard board;
};

/// A written file and what it could not express (each also a comment in
/// the file, at its problem).
struct LatexDocument {
    std::string text;
    std::vector<std::string> notes;
};

/// Writes the problems: a complete document (article class, the package,
/// the solutions at the end), or with fragment only the diagram
/// environments, to be put into another document whose preamble loads the
/// package. The piece count is left to the package, which prints it.
LatexDocument WriteLatex(const std::vector<LatexProblem>& problems, bool fragment);

/// A text with the characters special to LaTeX (\ { } $ & # ^ _ % ~) made
/// plain, and line breaks as blanks.
std::string LatexEscape(std::string_view text);

/// A composer's name as the package's \author reads it by default:
/// "Surname, Given"; a name already written with a comma is kept, a single
/// word gets an empty given name.
std::string LatexName(std::string_view name);

/// The board in the package's notation: the argument of \pieces
/// ("wKe1, wTa1h1, sDUd8"), and of \fieldtext for square texts and the men
/// it has no sign for. notes names each of those men and each marker that
/// cannot be drawn.
struct LatexBoard {
    std::string pieces;
    std::string fieldText;
    std::vector<std::string> notes;
};
LatexBoard LatexPieces(const position::FairyBoard& board);

}  // namespace diagram
