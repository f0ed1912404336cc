// SPDX-License-Identifier: MIT
#include "ui/app/CResourcePicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

bool CResourcePicture::Load(const QString& name, const QString& type)
{
    Release();
    QFile resource(QStringLiteral(":/%1/%2").arg(type, name));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = resource.readAll();
    if (bytes.isEmpty())
        return false;
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    QImageReader reader(&stream);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    picture = QPixmap::fromImage(image);
    return true;
}

bool CResourcePicture::Render(QPainter& painter, int x, int y, int width, int height) const
{
    if (picture.isNull())
        return false;
    const QSize size(width, height);
    const QSize device = size * painter.device()->devicePixelRatioF();
    if (scaled.size() != device) {
        scaled = picture.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(painter.device()->devicePixelRatioF());
    }
    painter.drawPixmap(QRect(QPoint(x, y), size), scaled);
    return true;
}

void CResourcePicture::Release()
{
    picture = QPixmap();
    scaled = QPixmap();
}
