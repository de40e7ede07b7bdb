// fen and fixfen: the FEN text box's reading and rank completion.

#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/fairy_options.h"
#include "diagram/fairy_exchange.h"
#include "position/vet.h"

namespace cli {

namespace {

bool OneText(Args& args, Context& ctx, const char* name, std::string& text) {
    if (!ExpectWords(ctx, args, name, 1, 1)) {
        return false;
    }
    text = args.words[0];
    return true;
}

// The lines that say how the import's style differs, as the settings file
// writes them.
void PrintStyle(std::ostream& out, const settings::Style& style) {
    out << "BorderHeight = " << style.BORDERHEIGHT << "\n"
        << "BorderWidth = " << style.BORDERWIDTH << "\n"
        << "PiecesList = " << style.PIECESLIST << "\n"
        << "EnglishNotation = " << style.ENGLISHNOTATION << "\n";
    if (!style.PIECESFONT.empty()) {
        out << "PiecesFont = " << style.PIECESFONT << "\n";
    }
    if (!style.PIECESGLYPHS.empty()) {
        out << "PiecesGlyphs = " << style.PIECESGLYPHS << "\n";
    }
    if (!style.PYDICTIONARY.empty()) {
        out << "PyDictionary = " << style.PYDICTIONARY << "\n";
    }
}

const Register fen(
    "fen",
    "TEXT [--notation ffen|yacpdb|popeye|auto] [--output ffen|yacpdb|popeye] [--knight-s]   prints the FEN "
    "of the board after TEXT, then the piece tally; --notation reads TEXT in that notation (auto: guessed, "
    "then printed as \"notation NAME\") and prints the style lines a style without its letters or board "
    "size gains, --output prints the board in that notation instead, --knight-s writes the knight S and the "
    "square marker g in Fairy FEN",
    [](Context& ctx, Args& args) {
        FairyOptions fairy;
        if (!TakeFairyOptions(ctx, args, "fen", true, fairy)) {
            return kUsage;
        }
        std::string text;
        if (!OneText(args, ctx, "fen", text)) {
            return kUsage;
        }
        position::Notation read{};
        bool styleChanged = false;
        if (fairy.read && !ImportText(ctx, "fen", fairy, text, text, read, styleChanged)) {
            return kFailure;
        }
        app::Program& program = ctx.program;
        const std::string tally = EnterFen(program, text);
        if (fairy.output) {
            const position::NotationWrite w = diagram::ExportFairyText(
                program.vet, program.style, DictionaryBase(program), *fairy.output, fairy.options);
            if (!w.ok()) {
                ctx.err << "pandrel-cli fen: " << w.error << "\n";
                return kFailure;
            }
            if (fairy.read && !fairy.notation) {
                ctx.err << "pandrel-cli fen: read as " << position::NotationName(read) << "\n";
            }
            ctx.out << w.text << "\n";
            return kOk;
        }
        ctx.out << position::VetToFEN(program.vet, program.Shape()) << "\n" << tally << "\n";
        if (fairy.read && !fairy.notation) {
            ctx.out << "notation " << position::NotationName(read) << "\n";
        }
        if (styleChanged) {
            PrintStyle(ctx.out, program.style);
        }
        return kOk;
    });

const Register fixfen("fixfen", "TEXT   prints TEXT with its ranks completed", [](Context& ctx, Args& args) {
    std::string text;
    if (!OneText(args, ctx, "fixfen", text)) {
        return kUsage;
    }
    ctx.out << position::FixFEN(text, ctx.program.Shape()) << "\n";
    return kOk;
});

}  // namespace

}  // namespace cli
