// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QString>

class QPainter;

// One picture from the program's resources (":/<type>/<name>", for example ":/JPEG/TLO"),
// decoded by Qt's image readers (JPEG, PNG, BMP, ...), drawn stretched into a rectangle.
class CResourcePicture
{
public:
    // Releases any picture held, then loads the resource; false when it is missing, empty or
    // cannot be decoded.
    bool Load(const QString& name, const QString& type);
    // Draws the whole picture stretched into the rectangle (no aspect ratio kept); false when
    // no picture is held.
    bool Render(QPainter& painter, int x, int y, int width, int height) const;
    void Release();
    bool IsLoaded() const { return !picture.isNull(); }

private:
    QPixmap picture;
    // The picture scaled to the size drawn last: repaints of a fixed window reuse it.
    mutable QPixmap scaled;
};
