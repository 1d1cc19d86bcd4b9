#include "ui/announcer.h"

#include <QTimer>

namespace travoli {

TAnnouncer::TAnnouncer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("announcer"));
    setGeometry(0, 0, 0, 0);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();  // appears for the first time with the first text
}

void TAnnouncer::Announce(const QString& text) {
    if (pending_.isEmpty()) {
        QTimer::singleShot(0, this, &TAnnouncer::Flush);
    }
    pending_ << text;
}

void TAnnouncer::Flush() {
    const QString text = pending_.join(QLatin1Char(' '));
    pending_.clear();
    if (!window()->isVisible()) {
        return;
    }
    setAccessibleName(text);
    // A screen reader speaks a notification when it starts showing.
    setVisible(false);
    setVisible(true);
}

}  // namespace travoli
