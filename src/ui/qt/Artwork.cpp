#include "ui/qt/Artwork.h"

#include <QPainter>
#include <QPainterPath>

namespace vedozer::qtui {

QIcon productIcon() {
    QIcon icon;
    for (int size : {16, 20, 24, 32, 40, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/artwork/vedozer-%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon kindIcon(KindIcon kind) {
    const char* name = nullptr;
    switch (kind) {
    case KindIcon::None: return {};
    case KindIcon::Cookie: name = "cookie"; break;
    case KindIcon::Registry: name = "registry"; break;
    case KindIcon::File: name = "file"; break;
    case KindIcon::Folder: name = "folder"; break;
    case KindIcon::Excluded: name = "excluded"; break;
    }
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addFile(QStringLiteral(":/artwork/kind-%1-%2.png").arg(QLatin1String(name)).arg(size), QSize(size, size));
    return icon;
}

QPixmap stateIcon(StateIcon state, int size, qreal devicePixelRatio) {
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = state == StateIcon::Ok ? QColor(0x2e, 0x7d, 0x32) : state == StateIcon::Attention ? QColor(0xe0, 0x8e, 0x0b)
                                                                                                   : QColor(0xc6, 0x28, 0x28);
    const qreal s = size;
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, s - 2, s - 2));
    QPen pen(Qt::white, s / 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (state == StateIcon::Ok) {
        QPainterPath tick;
        tick.moveTo(s * 0.28, s * 0.52);
        tick.lineTo(s * 0.44, s * 0.68);
        tick.lineTo(s * 0.73, s * 0.35);
        p.drawPath(tick);
    } else if (state == StateIcon::Attention) {
        p.drawLine(QPointF(s / 2, s * 0.26), QPointF(s / 2, s * 0.58));
        p.drawPoint(QPointF(s / 2, s * 0.74));
    } else {
        p.drawLine(QPointF(s * 0.33, s * 0.33), QPointF(s * 0.67, s * 0.67));
        p.drawLine(QPointF(s * 0.67, s * 0.33), QPointF(s * 0.33, s * 0.67));
    }
    return pixmap;
}

}  // namespace vedozer::qtui
