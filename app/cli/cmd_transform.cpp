// transform: the Effects menu's shifts, quarter turn and mirrors on a FEN text.

#include <ostream>

#include "app/cli/cli.h"
#include "editing/transform.h"
#include "position/vet.h"

namespace cli {

namespace {

const Register transform(
    "transform",
    "OP TEXT   prints the FEN after OP: left, right, up, down, rotate, hmirror, dmirror or vmirror",
    [](Context& ctx, Args& args) {
        if (!ExpectWords(ctx, args, "transform", 2, 2)) {
            return kUsage;
        }
        const auto op = editing::ParseTransform(args.words[0]);
        if (!op) {
            ctx.err << "pandrel-cli transform: unknown operation \"" << args.words[0]
                    << "\" (left, right, up, down, rotate, hmirror, dmirror, vmirror)\n";
            return kUsage;
        }
        app::Program& program = ctx.program;
        EnterFen(program, args.words[1]);
        const editing::TransformResult r = editing::ApplyTransform(program.vet, program.Shape(), *op);
        if (!r.ok) {
            ctx.err << "pandrel-cli transform: " << r.reason << "\n";
            return kUsage;
        }
        ctx.out << position::VetToFEN(program.vet, program.Shape()) << "\n";
        return kOk;
    });

}  // namespace

}  // namespace cli
