// play, move and popeye: the move interpreter, the move writer and the
// algebraic piece lists.

#include <ostream>

#include "app/cli/cli.h"
#include "engines/discovery.h"
#include "engines/popeye_names.h"
#include "position/piece_lists.h"
#include "position/play_move.h"
#include "position/set_move.h"

namespace cli {

namespace {

const Register play("play",
                    "[--side w|b] TEXT MOVE...   applies the moves in turn, printing each result and FEN",
                    [](Context& ctx, Args& args) {
                        std::string error;
                        std::string sideText = "w";
                        args.TakeValue("--side", sideText, error);
                        if (!error.empty() || (sideText != "w" && sideText != "b")) {
                            ctx.err << "pandrel-cli play: --side takes w or b\n";
                            return kUsage;
                        }
                        if (!ExpectWords(ctx, args, "play", 1, SIZE_MAX)) {
                            return kUsage;
                        }
                        const position::NotationStyle style = ctx.program.style.Notation();
                        position::Vet& vet = ctx.program.vet;
                        position::ParseFEN(vet, args.words[0], style.shape);
                        position::Side side =
                            sideText == "b" ? position::Side::kBlack : position::Side::kWhite;
                        for (size_t i = 1; i < args.words.size(); ++i) {
                            const std::string& move = args.words[i];
                            const position::PlayResult r = position::PlayMove(vet, style, side, move);
                            ctx.out << r.Text(move) << '\t' << position::VetToFEN(vet, style.shape) << "\n";
                            if (r.Applied()) {
                                side = position::Other(side);
                            }
                        }
                        return kOk;
                    });

const Register move("move", "BEFORE AFTER   prints the move that leads from BEFORE to AFTER",
                    [](Context& ctx, Args& args) {
                        if (!ExpectWords(ctx, args, "move", 2, 2)) {
                            return kUsage;
                        }
                        const position::NotationStyle style = ctx.program.style.Notation();
                        position::Vet& vet = ctx.program.vet;
                        position::Build2(vet, 0, args.words[0], style.shape);
                        position::Build2(vet, 1, args.words[1], style.shape);
                        ctx.out << position::SetMove(vet, style, 0).move << "\n";
                        return kOk;
                    });

// The window's dictionary: the data file's names, the style's own winning
// for the letters it names.
std::string WindowDictionary(const Context& ctx) {
    const std::string pyDat = engines::PyDatPath(ctx.program.settings.AppDir, ShippedDataDir());
    return engines::MergeDictionaries(engines::ReadPyDat(pyDat).dictionary, ctx.program.style.PYDICTIONARY);
}

const Register popeye("popeye", "[--dictionary TEXT] TEXT   prints the White, Black and neutral piece lists",
                      [](Context& ctx, Args& args) {
                          std::string error;
                          std::string dictionary = WindowDictionary(ctx);
                          args.TakeValue("--dictionary", dictionary, error);
                          if (!error.empty()) {
                              ctx.err << "pandrel-cli popeye: " << error << "\n";
                              return kUsage;
                          }
                          if (!ExpectWords(ctx, args, "popeye", 1, 1)) {
                              return kUsage;
                          }
                          const position::NotationStyle style = ctx.program.style.Notation();
                          position::Vet& vet = ctx.program.vet;
                          position::ParseFEN(vet, args.words[0], style.shape);
                          const position::PieceLists lists = position::FEN2ALG(vet, style, dictionary);
                          ctx.out << lists.white << "\n" << lists.black << "\n" << lists.neutral << "\n";
                          return kOk;
                      });

}  // namespace

}  // namespace cli
