// An engine's output lines: the first line names a position (FEN with side,
// castling and en passant), the others are read as the engine's lines, and
// each principal variation is written in short algebraic notation from it.

#include "engines/chess_position.h"
#include "engines/uci.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const engines::PositionResult read = engines::PositionFromFen(in.Line());
    fuzz::Check(read.position.has_value() != !read.error.empty(), "a position or a reason");
    const engines::ChessPosition pos =
        read.position.value_or(engines::PositionFromFen("4k3/8/8/8/8/8/8/4K3").position.value());
    if (read.position) {
        fuzz::Check(engines::CheckLegal(pos).empty(), "a position read is one an engine may take");
        fuzz::Check(engines::PositionFromFen(engines::UciFen(pos)).position.has_value(),
                    "its FEN reads back");
    }
    const position::NotationStyle style;
    for (int lines = 0; lines < 64 && !in.Empty(); ++lines) {
        const engines::UciMessage message = engines::ParseUciLine(in.Line());
        const engines::UciInfo& info = message.info;
        fuzz::Check(info.multipv >= 1, "lines are numbered from 1");
        const std::string score = engines::FormatScore(info.score, pos.WhiteToMove());
        fuzz::Check(score.empty() == (info.score.kind == engines::UciScore::Kind::kNone),
                    "a score is written");
        const std::vector<std::string> moves = engines::LineToSan(pos, info.pv, style);
        fuzz::Check(moves.size() <= info.pv.size(), "no more moves than the engine gave");
        for (const std::string& move : moves) {
            fuzz::Check(!move.empty(), "every move written has a text");
        }
    }
    return 0;
}
