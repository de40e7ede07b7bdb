// fen and fixfen: the FEN text box's reading and rank completion.

#include <ostream>

#include "app/cli/cli.h"
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

const Register fen("fen", "TEXT   prints the FEN of the board after TEXT, then the piece tally",
                   [](Context& ctx, Args& args) {
                       std::string text;
                       if (!OneText(args, ctx, "fen", text)) {
                           return kUsage;
                       }
                       const std::string tally = EnterFen(ctx.program, text);
                       ctx.out << position::VetToFEN(ctx.program.vet, ctx.program.Shape()) << "\n"
                               << tally << "\n";
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
