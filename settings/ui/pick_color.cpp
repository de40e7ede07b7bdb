#include "settings/ui/pick_color.h"

#include <QPointer>
#include <QWidget>
#include <array>

#include "diagram/ui/main_window.h"

namespace settings::ui {

QColor ToColor(int32_t bgr) {
    const auto v = static_cast<uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t FromColor(const QColor& color) {
    return static_cast<int32_t>(static_cast<uint32_t>(color.red()) |
                                (static_cast<uint32_t>(color.green()) << 8) |
                                (static_cast<uint32_t>(color.blue()) << 16));
}

int32_t PickColor(diagram::ui::MainWindow& main, int32_t initial, QWidget* focusBack) {
    using diagram::ui::Secondary;
    platform::ColorChooser* chooser = main.services().colors;
    if (chooser == nullptr) {
        return -1;
    }
    // Nothing else of the program may be used while the chooser is up.
    const std::array<QPointer<QWidget>, 3> windows{&main, main.SecondaryWindow(Secondary::kGraphic),
                                                   main.SecondaryWindow(Secondary::kStyle)};
    for (const auto& window : windows) {
        if (window) {
            window->setEnabled(false);
        }
    }

    auto& kept = main.program().settings.CustomColors;
    std::array<QColor, 16> custom;
    for (size_t i = 0; i < custom.size(); ++i) {
        custom[i] = ToColor(kept[i]);
    }
    const QColor chosen = chooser->Choose(ToColor(initial), custom);
    for (size_t i = 0; i < custom.size(); ++i) {
        // A colour the chooser shows unchanged keeps its stored form, so the
        // all-0xFF start value survives a visit.
        if (FromColor(custom[i]) != FromColor(ToColor(kept[i]))) {
            kept[i] = FromColor(custom[i]);
        }
    }

    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (*it) {
            (*it)->setEnabled(true);
        }
    }
    if (focusBack != nullptr) {
        focusBack->activateWindow();
        focusBack->setFocus(Qt::OtherFocusReason);
    }
    return chosen.isValid() ? FromColor(chosen) : -1;
}

}  // namespace settings::ui
