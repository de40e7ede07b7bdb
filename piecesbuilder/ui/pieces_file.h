#pragma once

#include <QImage>
#include <QString>

namespace piecesbuilder {

/// The name a pieces file is saved under: the name chosen, with ".bmp" added when it has no
/// extension.
QString PiecesFileName(const QString& chosen);

/// Writes the set as a pieces file: PNG for a ".png" name, a BMP file otherwise. The picture
/// goes to a new file of its own beside the target (created exclusively, never through a link),
/// which then takes the target's name in one step, so a planted link is replaced rather than
/// followed and a failure leaves the old file whole. Returns "" when written, else the reason.
QString WritePiecesFile(const QImage& set, const QString& path);

}  // namespace piecesbuilder
