#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <functional>

#include "media/widgets/scroll_text.h"
#include "media/widgets/simple_label.h"
#include "ui/board_cell.h"

namespace travoli {

namespace {

// A control pressed through assistive technology. The press runs from the event loop, as a
// click does: the screen reader's call returns at once even when the press opens a dialog.
class PressableFace : public QAccessibleWidget {
  public:
    PressableFace(QWidget* widget, QAccessible::Role role, std::function<void()> press,
                  QString key = {})
        : QAccessibleWidget(widget, role), press_(std::move(press)), key_(std::move(key)) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            QMetaObject::invokeMethod(widget(), press_, Qt::QueuedConnection);
        }
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() && !key_.isEmpty()) {
            return {key_};
        }
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = false;  // the level selector keeps the focus
        return state;
    }

  private:
    std::function<void()> press_;
    QString key_;
};

QAccessibleInterface* Face(const QString& className, QObject* object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("travoli::TBoardCell")) {
        auto* cell = static_cast<TBoardCell*>(widget);
        return new PressableFace(
            cell, QAccessible::Button,
            [cell] {
                if (cell->OnPress) {
                    cell->OnPress(cell->Column(), cell->Row());
                }
            },
            QString::number(cell->Digit()));
    }
    if (className == QLatin1String("travoli::TScrollText")) {
        auto* marquee = static_cast<TScrollText*>(widget);
        return new PressableFace(marquee, QAccessible::Link,
                                 [marquee] { emit marquee->OnClick(); });
    }
    if (className == QLatin1String("travoli::TSimpleLabel")) {
        auto* link = static_cast<TSimpleLabel*>(widget);
        return new PressableFace(link, QAccessible::Link, [link] { link->FollowLink(); });
    }
    // Screen readers take a window for a frame, a widget without a role for a filler.
    if (className == QLatin1String("travoli::TMainForm")) {
        return new QAccessibleWidget(widget, QAccessible::Window);
    }
    if (className == QLatin1String("travoli::TAnnouncer")) {
        return new QAccessibleWidget(widget, QAccessible::Notification);
    }
    // A plain frame is the toolbar or a bevel, never a window of its own.
    if (className == QLatin1String("QFrame") &&
        qstrcmp(object->metaObject()->className(), "QFrame") == 0) {
        return new QAccessibleWidget(widget, widget->objectName() == QLatin1String("Panel1")
                                                 ? QAccessible::ToolBar
                                                 : QAccessible::Separator);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleFaces() {
    static const bool installed = (QAccessible::installFactory(Face), true);
    (void)installed;
}

}  // namespace travoli
