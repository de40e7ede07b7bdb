// render: writes the diagram of a position, as the window draws it, to a file
// in BMP, PNG, SVG or PDF, at any scale.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <ostream>

#include "app/cli/cli.h"
#include "app/cli/fairy_options.h"
#include "app/cli/record_options.h"
#include "diagram/fairy_exchange.h"
#include "diagram/render/export.h"
#include "diagram/render/render.h"

namespace cli {

bool ParseScale(const std::string& text, double& scale) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    scale = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(scale) && scale > 0;
}

namespace {

const Register render(
    "render",
    std::string("[--format bmp|png|svg|pdf] [--scale K] [--reversed] [--notation ffen|yacpdb|popeye|auto] "
                "[--knight-s] [--captions ") +
        kRecordOptionsUsage +
        "] -o "
        "FILE TEXT   writes the diagram of TEXT (-o - for standard output); the "
        "format defaults to FILE's extension (BMP for any other), K multiplies every length of the style; "
        "--notation reads TEXT in that notation, in a copy of the style with the letters and board size it "
        "needs; --captions puts the problem's authors, source, stipulation, count of men, conditions, twins "
        "and legend around the board",
    [](Context& ctx, Args& args) {
        std::string error;
        std::string file;
        std::string formatWord;
        std::string scaleWord;
        const bool reversed = args.TakeFlag("--reversed");
        const bool captions = args.TakeFlag("--captions");
        RecordOptions record;
        if (!TakeRecordOptions(ctx, args, "render", record)) {
            return kUsage;
        }
        FairyOptions fairy;
        if (!TakeFairyOptions(ctx, args, "render", false, fairy)) {
            return kUsage;
        }
        const bool hasFormat = args.TakeValue("--format", formatWord, error);
        const bool hasScale = error.empty() && args.TakeValue("--scale", scaleWord, error);
        if (!error.empty()) {
            ctx.err << "pandrel-cli render: " << error << "\n";
            return kUsage;
        }
        if (!args.TakeValue("-o", file, error)) {
            ctx.err << "pandrel-cli render: " << (error.empty() ? "missing -o FILE" : error) << "\n";
            return kUsage;
        }
        if (!ExpectWords(ctx, args, "render", 1, 1)) {
            return kUsage;
        }
        diagram::DiagramRequest request;
        request.format = diagram::FormatOfName(file);
        if (hasFormat) {
            const auto format = diagram::ParseFormat(formatWord);
            if (!format) {
                ctx.err << "pandrel-cli render: unknown format \"" << formatWord
                        << "\" (bmp, png, svg or pdf)\n";
                return kUsage;
            }
            request.format = *format;
        }
        if (hasScale && !ParseScale(scaleWord, request.scale)) {
            ctx.err << "pandrel-cli render: bad scale \"" << scaleWord
                    << "\" (a positive number, e.g. 0.5 or 2)\n";
            return kUsage;
        }
        app::Program& program = ctx.program;
        request.text = args.words[0];
        if (fairy.read) {
            position::Notation read{};
            bool styleChanged = false;
            if (!ImportText(ctx, "render", fairy, args.words[0], request.text, read, styleChanged)) {
                return kFailure;
            }
        }
        request.style = program.style;
        request.reversed = reversed;
        diagram::CaptionText captionText;
        if (captions) {
            position::Vet vet;
            position::ParseFEN(vet, request.text, program.style.Shape());
            const position::MenCount count = position::CountMen(vet, diagram::FairyStyleOf(program.style));
            captionText = diagram::CaptionsOf(record.record, count);
            const std::string warning = position::CountWarning(record.record, count);
            if (!warning.empty()) {
                ctx.err << "pandrel-cli render: " << warning << "\n";
            }
        }
        if (request.scale != 1) {
            settings::Style check = request.style;
            if (const auto reason = diagram::ScaleStyle(check, request.scale)) {
                ctx.err << "pandrel-cli render: bad scale \"" << scaleWord << "\": " << *reason << "\n";
                return kUsage;
            }
        }

        // Text and font men need the font machinery of a GUI application;
        // plain bitmap squares do not, and starting one costs more than the
        // whole drawing.
        std::unique_ptr<QGuiApplication> gui;
        const bool needsFonts = program.style.SHOWGRID == 1 || program.style.IsFontStyle() ||
                                request.format == diagram::ImageFormat::kSvg ||
                                request.format == diagram::ImageFormat::kPdf || !captionText.Empty();
        if (needsFonts && QGuiApplication::instance() == nullptr) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            // A font style that names no picture files reads none: the men
            // are drawn, and the program's own pieces picture is a BMP, which
            // Qt reads itself. The image format plugins would only be loaded,
            // every one of them, to be asked whether they write the format,
            // at a cost larger than the drawing's. Only the platform plugin
            // is looked for then, in its own folder as before.
            const settings::Style& style = program.style;
            if (style.IsFontStyle() && style.BORDERFILE.empty() && style.PIECESFILE.empty()) {
                if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM_PLUGIN_PATH")) {
                    qputenv("QT_QPA_PLATFORM_PLUGIN_PATH",
                            QFile::encodeName(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                              QStringLiteral("/platforms")));
                }
                QCoreApplication::setLibraryPaths({});
            }
            static int argc = 1;
            static char name[] = "pandrel-cli";
            static char* argv[] = {name, nullptr};
            gui = std::make_unique<QGuiApplication>(argc, argv);
        }
        diagram::RenderOptions options;
        options.reversed = request.reversed;
        options.scale = request.scale;
        options.format = request.format;
        options.captions = captionText;
        const diagram::RenderResult drawn = diagram::Render(request.text, request.style, options);
        if (file == "-") {
            const QByteArray& data = drawn.bytes;
            if (data.isEmpty() ||
                std::fwrite(data.constData(), 1, static_cast<size_t>(data.size()), stdout) !=
                    static_cast<size_t>(data.size()) ||
                std::fflush(stdout) != 0) {
                ctx.err << "pandrel-cli render: cannot write the image to standard output\n";
                return kFailure;
            }
            return kOk;
        }
        std::string reason;
        if (!diagram::WriteRendered(drawn, file, &reason)) {
            ctx.err << "pandrel-cli render: cannot write " << file << ": " << reason << "\n";
            return kFailure;
        }
        return kOk;
    });

}  // namespace

}  // namespace cli
