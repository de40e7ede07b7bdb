// render: writes the diagram picture, as the window shows it, to a BMP file.

#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <memory>
#include <ostream>

#include "app/cli/cli.h"
#include "diagram/render/renderer.h"

namespace cli {

namespace {

const Register render(
    "render", "[--reversed] -o FILE TEXT   writes the diagram of TEXT as a 24-bit BMP file",
    [](Context& ctx, Args& args) {
        std::string error;
        std::string file;
        const bool reversed = args.TakeFlag("--reversed");
        if (!args.TakeValue("-o", file, error)) {
            ctx.err << "pandrel-cli render: " << (error.empty() ? "missing -o FILE" : error) << "\n";
            return kUsage;
        }
        if (!ExpectWords(ctx, args, "render", 1, 1)) {
            return kUsage;
        }
        app::Program& program = ctx.program;
        program.editing.Reversed =
            reversed ? static_cast<int16_t>(program.style.BORDERHEIGHT * program.style.BORDERWIDTH + 1) : 0;

        // Text needs the font machinery of a GUI application; plain squares do not,
        // and starting one costs more than the whole drawing.
        std::unique_ptr<QGuiApplication> gui;
        if (program.style.SHOWGRID == 1 && QGuiApplication::instance() == nullptr) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            static int argc = 1;
            static char name[] = "pandrel-cli";
            static char* argv[] = {name, nullptr};
            gui = std::make_unique<QGuiApplication>(argc, argv);
        }
        diagram::Renderer renderer;
        renderer.DrawBoard(program.style, program.editing.Reversed);
        // The board size may have been set back to 8 x 8 just now.
        if (const int16_t turned = diagram::FollowBoardSize(program.editing.Reversed, program.style);
            turned != program.editing.Reversed) {
            program.editing.Reversed = turned;
            renderer.DrawBoard(program.style, program.editing.Reversed);
        }
        position::ResetVet(program.vet, program.Shape());
        renderer.Build(program.vet, args.words[0], program.style, program.editing.Reversed);

        QImageWriter writer(QString::fromStdString(file), "bmp");
        if (!writer.write(renderer.picture())) {
            ctx.err << "pandrel-cli render: cannot write " << file << ": "
                    << writer.errorString().toStdString() << "\n";
            return kFailure;
        }
        return kOk;
    });

}  // namespace

}  // namespace cli
