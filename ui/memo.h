#pragma once

#include <QKeyEvent>
#include <QPlainTextEdit>

namespace travoli {

// A multi-line text box whose Enter key goes to the dialog (it inserts no line break).
class TMemo : public QPlainTextEdit {
    Q_OBJECT
  public:
    TMemo(QWidget* parent, const QString& text, bool readOnly) : QPlainTextEdit(parent) {
        setPlainText(text);
        setReadOnly(readOnly);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setTabChangesFocus(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Base, QColor(206, 206, 232));
        colours.setColor(QPalette::Text, Qt::black);
        setPalette(colours);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            event->ignore();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
};

}  // namespace travoli
