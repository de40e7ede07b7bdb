#pragma once
// The pictures of the toolbar buttons, painted by the program itself: a
// raised face for the up picture, a sunken one for the pressed picture.

#include <QPixmap>
#include <QSize>

namespace editing::ui {

/// What a toolbar button shows.
enum class ToolbarIcon {
    // First toolbar.
    kSaveImage,
    kGraphic,
    kHistory,
    kCopyImage,
    kCopyHtml,
    kCopyFen,
    kPasteFen,
    kPrint,
    kEngine,
    // Second toolbar.
    kNew,
    kStart,
    kRight,
    kLeft,
    kUp,
    kDown,
    kRotate,
    kHMirror,
    kDMirror,
};

/// A button picture of size (in pixels), up or pressed.
QPixmap ToolbarPicture(ToolbarIcon icon, QSize size, bool pressed);

/// The record button's picture for record mode off or on.
QPixmap RecordPicture(QSize size, bool on);

}  // namespace editing::ui
