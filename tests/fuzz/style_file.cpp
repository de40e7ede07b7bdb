// A style file imported into a settings file, with bitmaps beside it and one
// in the folder above; the answers to the import's questions come from the
// first byte. Nothing may be written outside the program folder.

#include <filesystem>
#include <set>

#include "fuzz_support.h"
#include "settings/style_import.h"

namespace {

class Host : public settings::ImportHost {
  public:
    explicit Host(uint8_t answers) : m_answers(answers) {}
    void Status(const std::string&) override {}
    bool HasStyle(const std::string& name) override { return m_names.count(settings::Upper(name)) > 0; }
    void AddStyle(const std::string& name) override { m_names.insert(settings::Upper(name)); }
    settings::ImportAnswer Ask(const std::string&, settings::ImportButtons buttons) override {
        const int pick = (m_answers >> (2 * (m_asked++ % 4))) & 3;
        switch (buttons) {
            case settings::ImportButtons::kOk:
                return settings::ImportAnswer::kOk;
            case settings::ImportButtons::kOkCancel:
                return pick == 3 ? settings::ImportAnswer::kCancel : settings::ImportAnswer::kOk;
            case settings::ImportButtons::kYesNoCancel:
                return pick == 3 ? settings::ImportAnswer::kCancel
                                 : (pick == 2 ? settings::ImportAnswer::kNo : settings::ImportAnswer::kYes);
        }
        return settings::ImportAnswer::kCancel;
    }

  private:
    uint8_t m_answers;
    int m_asked = 0;
    std::set<std::string> m_names{"CUSTOM", "PI"};
};

// Every file and folder under root, outside the program folder.
std::set<std::string> Listing(const std::string& root) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
        const std::string name = entry.path().lexically_relative(root).string();
        if (name != "app" && name.rfind("app/", 0) != 0) {
            names.insert(name);
        }
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    fuzz::Input in(data, size);
    Host host(in.Byte());
    const std::string root = fuzz::ScratchFolder() + "import/";
    std::error_code ec;
    fs::remove_all(root, ec);
    fs::create_directories(root + "app", ec);
    fs::create_directories(root + "lib/src", ec);
    fuzz::WriteFile(root + "lib/src/p.bmp", "BM pieces");
    fuzz::WriteFile(root + "lib/src/b.bmp", "BM border");
    // "../outside.bmp" from the style file's folder is a file; the same name
    // from the program folder is not.
    fuzz::WriteFile(root + "lib/outside.bmp", "BM outside");
    fuzz::WriteFile(root + "app/Pandrel.ini", "BeginStyle = Pi\r\n  PiecesFile = p.bmp\r\nEndStyle\r\n");
    fuzz::WriteFile(root + "lib/src/set.sty", in.Rest());
    const std::set<std::string> before = Listing(root);

    settings::Style style;
    settings::ProgramSettings program;
    program.AppDir = root + "app/";
    const settings::ImportResult result = settings::ImportStyles(root + "lib/src/set.sty", style, program, host);
    fuzz::Check(result.saved >= 0, "a count of styles saved");
    fuzz::Check(Listing(root) == before, "the import writes only inside the program folder");
    return 0;
}
