// The settings file: read, a style saved into it and the recent lines
// rewritten, read again; then the style deleted.

#include "settings/settings_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const uint8_t choice = in.Byte();
    const std::string text(in.Rest());

    settings::Style style;
    settings::ProgramSettings program;
    program.AppDir = "/nowhere/";
    if (choice & 1) {
        style.CurrentStyle = "Pi";  // a style chosen before the file is read
    }
    const settings::ReadResult first = settings::ReadSettingsText(text, style, program);
    (void)first;
    (void)settings::ComputedPictureSize(style);

    settings::StyleWrite mode = settings::StyleWrite::kSave;
    const std::string saved = settings::WriteStyleText(style, &text, mode);
    fuzz::Check(mode == settings::StyleWrite::kDelete, "saving writes the block");
    const std::string rewritten = settings::SaveRecentText(style, program, &saved);

    settings::Style again;
    again.CurrentStyle = style.CurrentStyle;
    settings::ProgramSettings programAgain;
    programAgain.AppDir = program.AppDir;
    (void)settings::ReadSettingsText(rewritten, again, programAgain);

    settings::StyleWrite remove = settings::StyleWrite::kDelete;
    (void)settings::WriteStyleText(again, &rewritten, remove);
    for (int i = 0; i < 4; ++i) {
        (void)settings::RecentCaption(i, programAgain.RecentFiles[i]);
    }
    return 0;
}
