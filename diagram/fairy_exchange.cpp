#include "diagram/fairy_exchange.h"

#include "diagram/geometry.h"
#include "position/fairy_style.h"

namespace diagram {

namespace {

// The font a picture style's copy draws its men from once it has letters
// its picture has no column for.
constexpr const char* kImportFont = "FreeSerif";

}  // namespace

position::FairyStyle FairyStyleOf(const settings::Style& style) {
    return {style.BORDERHEIGHT,    style.BORDERWIDTH,  style.PIECESLIST,
            style.ENGLISHNOTATION, style.PIECESGLYPHS, style.PYDICTIONARY};
}

FairyImport ImportFairyText(std::string_view text, std::optional<position::Notation> notation,
                            const position::NotationOptions& options, const settings::Style& style,
                            std::string_view dictionaryBase) {
    FairyImport result;
    result.style = style;
    const position::NotationRead read =
        notation ? position::ReadNotation(text, *notation, options) : position::ReadAuto(text, options);
    result.notation = read.notation;
    if (!read.ok()) {
        result.error = read.error;
        return result;
    }
    const position::FairyStyle before = FairyStyleOf(style);
    const position::PlacementImport in =
        position::ToPlacement(*read.board, read.notation, before, dictionaryBase);
    if (!in.ok()) {
        result.error = in.error;
        return result;
    }
    result.placement = in.placement;
    if (in.style == before) {
        return result;
    }
    settings::Style& copy = result.style;
    copy.CurrentStyle = kImportStyle;
    copy.PIECESLIST = in.style.piecesList;
    copy.ENGLISHNOTATION = in.style.englishNotation;
    copy.PIECESGLYPHS = in.style.piecesGlyphs;
    copy.PYDICTIONARY = in.style.pyDictionary;
    if (in.lettersAdded && !copy.IsFontStyle()) {
        copy.PIECESFONT = kImportFont;
    }
    if (copy.BORDERHEIGHT != in.style.rows || copy.BORDERWIDTH != in.style.cols) {
        copy.BORDERHEIGHT = static_cast<int16_t>(in.style.rows);
        copy.BORDERWIDTH = static_cast<int16_t>(in.style.cols);
        // The picture is sized anew for the board.
        copy.WNDHEIGHT = 0;
        copy.WNDWIDTH = 0;
        ApplyComputedGeometry(copy);
    }
    result.styleChanged = true;
    return result;
}

position::NotationWrite ExportFairyText(const position::Vet& vet, const settings::Style& style,
                                        std::string_view dictionaryBase, position::Notation notation,
                                        const position::NotationOptions& options) {
    const position::NotationRead board =
        position::FromPlacement(vet, FairyStyleOf(style), dictionaryBase, notation);
    if (!board.ok()) {
        return {"", board.error};
    }
    return position::WriteNotation(*board.board, notation, options);
}

}  // namespace diagram
