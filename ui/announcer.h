#pragma once

#include <QStringList>
#include <QWidget>

namespace travoli {

// Says short texts to assistive technology: a notification of no size whose appearing is
// what screen readers speak. Texts asked for within one event are said together, so that a
// later one does not cut an earlier one off.
class TAnnouncer : public QWidget {
    Q_OBJECT
  public:
    explicit TAnnouncer(QWidget* parent);

    void Announce(const QString& text);
    // What was said last (its accessible name).
    QString LastSaid() const { return accessibleName(); }

  private:
    void Flush();

    QStringList pending_;
};

}  // namespace travoli
