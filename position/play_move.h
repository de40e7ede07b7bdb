#pragma once
// The move interpreter: applies one move in short algebraic notation to the
// position plane of the board vector.

#include <cstdint>
#include <string_view>

#include "position/notation_style.h"
#include "position/position_state.h"
#include "position/vet.h"

namespace position {

/// What became of a move text.
enum class PlayStatus : uint8_t {
    kFailed,   ///< Not applied; the move's text result is "".
    kMoved,    ///< A piece was moved; the text result is "ok".
    kCastled,  ///< Castling pieces were placed; the text result is the move as given.
};

/// Why a move was not applied.
enum class PlayFailure : uint8_t {
    kNone,
    kBadBoard,          ///< The board has no squares or more than the vector holds.
    kTooShort,          ///< Too little text left for a destination square.
    kOffBoard,          ///< The destination square is not on the board.
    kUnknownPiece,      ///< The piece letter is not in the pieces list.
    kUnknownPromotion,  ///< The promotion letter is not in the pieces list.
    kUnknownKind,       ///< The piece's English letter is none of the twelve kinds.
    kCellOutOfRange,    ///< A castling or en-passant cell lies outside the vector.
    kNoOrigin,          ///< No piece of that kind can reach the destination.
};

/// Result of `PlayMove`. Changes made before a failure (castling cells, the
/// en-passant removal) stay on the board.
struct PlayResult {
    PlayStatus status = PlayStatus::kFailed;
    PlayFailure reason = PlayFailure::kNone;
    int from = -1;  ///< Origin cell of a piece move, else -1.
    int to = -1;    ///< Destination cell of a piece move, else -1.

    /// True unless the move failed; a castling counts as applied.
    bool Applied() const { return status != PlayStatus::kFailed; }
    /// The move text as the interpreter hands it back: "ok" after a piece
    /// move, the move itself after a castling, "" after a failure.
    std::string_view Text(std::string_view move) const {
        switch (status) {
            case PlayStatus::kMoved:
                return "ok";
            case PlayStatus::kCastled:
                return move;
            default:
                return {};
        }
    }
};

/// A short English description of a failure reason.
const char* Describe(PlayFailure reason);

/// Applies one move in short algebraic notation to the position plane of vet.
/// Side::kWhite moves White; Side::kBlack moves Black's castling pieces
/// and pawns and turns the piece and promotion letters to lower case (a
/// value outside the two moves Black's castling pieces and pawns only). Pieces are found by the board
/// geometry of their English letter; when several can reach the destination, one whose move would leave the
/// mover's only king attacked is passed over. Never allocates for moves of
/// ordinary length and never fails on any text.
PlayResult PlayMove(Vet& vet, const NotationStyle& style, Side side, std::string_view move);

}  // namespace position
