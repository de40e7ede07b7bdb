#include "diagram/ui/style/pick_color.h"

#include <QWidget>

namespace diagram::ui {

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

int32_t PickColor(platform::ColorChooser* chooser, CustomColors& kept,
                  const std::vector<QPointer<QWidget>>& disable, int32_t initial, QWidget* focusBack) {
    if (chooser == nullptr) {
        return -1;
    }
    // Nothing else of the program may be used while the chooser is up.
    for (const auto& window : disable) {
        if (window) {
            window->setEnabled(false);
        }
    }

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

    for (auto it = disable.rbegin(); it != disable.rend(); ++it) {
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

}  // namespace diagram::ui
