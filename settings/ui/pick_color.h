#pragma once
// PickColor: the system colour chooser for a colour field of the style
// window or of the Graphic window, with the program's 16 custom colours.

#include <QColor>
#include <cstdint>

class QWidget;

namespace diagram::ui {
class MainWindow;
}

namespace settings::ui {

/// Converts a style colour (0x00BBGGRR) to a Qt colour and back.
QColor ToColor(int32_t bgr);
int32_t FromColor(const QColor& color);

/// Shows the colour chooser of main.services() preselected with initial
/// (0x00BBGGRR) and the custom colours of main.program().settings, which keep
/// what the user leaves in them. The main, Graphic and Style windows are
/// disabled meanwhile; afterwards focusBack (the calling colour field) gets
/// the focus. Returns the chosen colour, or -1 when the user cancelled.
int32_t PickColor(diagram::ui::MainWindow& main, int32_t initial, QWidget* focusBack);

}  // namespace settings::ui
