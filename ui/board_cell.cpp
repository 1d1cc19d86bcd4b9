#include "ui/board_cell.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace travoli {

namespace {
QAccessibleInterface* CellInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("travoli::TBoardCell") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Cell);
    }
    return nullptr;
}
}  // namespace

TBoardCell::TBoardCell(QWidget* board) : QWidget(board) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    RegisterAccessibility();
}

void TBoardCell::RegisterAccessibility() {
    static const bool installed = (QAccessible::installFactory(CellInterface), true);
    (void)installed;
}

}  // namespace travoli
