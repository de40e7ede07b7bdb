#pragma once
// PickColor: the system colour chooser for a colour field of the style
// window or of the Graphic window, with the program's 16 custom colours.

#include <QColor>
#include <QPointer>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/ui/services.h"

class QWidget;

namespace diagram::ui {

/// Converts a style colour (0x00BBGGRR) to a Qt colour and back.
QColor ToColor(int32_t bgr);
int32_t FromColor(const QColor& color);

/// The 16 custom colours of the chooser as the program keeps them
/// (0x00BBGGRR, all bytes 0xFF until the user sets one).
using CustomColors = std::array<int32_t, 16>;

/// Shows chooser preselected with initial (0x00BBGGRR) and the custom
/// colours, which keep what the user leaves in them. The windows in disable
/// (those still alive) are disabled meanwhile; afterwards focusBack (the
/// calling colour field) gets the focus. Returns the chosen colour, or -1
/// when the user cancelled or there is no chooser.
int32_t PickColor(platform::ColorChooser* chooser, CustomColors& custom,
                  const std::vector<QPointer<QWidget>>& disable, int32_t initial, QWidget* focusBack);

}  // namespace diagram::ui
