// The application icon: a pale card with rounded corners, a dark magnetic
// stripe across its upper part and a few lines of embossed text below.
#include "res/app_icon.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace res {

namespace {

QPixmap DrawCard(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // The card: 1.58:1 like a bank card, centred.
    const QRectF card(s * 0.04, s * 0.20, s * 0.92, s * 0.60);
    p.setPen(QPen(QColor(40, 60, 110), qMax<qreal>(1.0, s / 32.0)));
    p.setBrush(QColor(225, 235, 250));
    p.drawRoundedRect(card, s * 0.08, s * 0.08);
    // The magnetic stripe.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    p.drawRect(QRectF(card.left(), card.top() + card.height() * 0.18, card.width(), card.height() * 0.24));
    // Text lines below the stripe.
    p.setBrush(QColor(90, 110, 150));
    const qreal lineH = qMax<qreal>(1.0, s / 24.0);
    p.drawRect(QRectF(card.left() + s * 0.08, card.top() + card.height() * 0.58, card.width() * 0.55, lineH));
    p.drawRect(QRectF(card.left() + s * 0.08, card.top() + card.height() * 0.75, card.width() * 0.35, lineH));
    return pm;
}

}  // namespace

QIcon AppIcon() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return QIcon();
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(DrawCard(size));
    return icon;
}

}  // namespace res
