// html: the Copy HTML fragment of a position, as the window puts it on the
// clipboard.

#include <ostream>

#include "app/cli/cli.h"
#include "diagram/output.h"
#include "position/vet.h"

namespace cli {

namespace {

const Register html("html", "TEXT   prints the Copy HTML fragment of the position TEXT (CR LF line ends)",
                    [](Context& ctx, Args& args) {
                        if (!ExpectWords(ctx, args, "html", 1, 1)) {
                            return kUsage;
                        }
                        app::Program& program = ctx.program;
                        // As the window: every square is painted by the first update.
                        position::ResetVet(program.vet, program.Shape());
                        EnterFen(program, args.words[0]);
                        ctx.out << diagram::HtmlFragment(program.vet, program.Shape());
                        return kOk;
                    });

}  // namespace

}  // namespace cli
